# The two commands of this project:
#   make run   install what is missing, build, start the program
#   make test  install what is missing, build, run every test (end-to-end included)
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

define prepare
	tools/install-deps.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)
endef

.PHONY: run test

run:
	$(prepare)
	tools/run-program.sh $(BUILD)/bin/tirvelon

test:
	$(prepare)
	cd $(BUILD) && ctest --output-on-failure --timeout 900
