# The two commands of this project:
#   make run   install what is missing, build, start the program
#   make test  install what is missing, build, run every test (end-to-end included; the
#              Windows build's tests under Wine too, when its Qt for MinGW-w64 is built)
# the Debian package of the Linux program:
#   make package   dist/tirvelon_<version>-1_amd64.deb
# and the Windows program:
#   make windows   dist/tirvelon-<version>-windows-x64.zip and dist/tirvelon-<version>-setup.exe
#                  (the first run builds Qt for MinGW-w64 into ~/.cache/tirvelon: ~45 minutes)
BUILD ?= build
WINDOWS_BUILD ?= $(CURDIR)/build-windows
DIST ?= $(CURDIR)/dist
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Tests side by side: each end-to-end and Wine test has a desktop of its own (display, buses,
# sound server, HOME, Wine prefix) and mostly waits on the real clock, so more run at once than
# there are cores. Their CMakeLists.txt mark the one that runs alone (RUN_SERIAL) and those that
# keep a core busy (PROCESSORS 2).
TEST_JOBS ?= 4

define prepare
	tools/install-deps.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)
endef

.PHONY: run build test package windows

run:
	$(prepare)
	tools/run-program.sh $(BUILD)/bin/tirvelon

build:
	$(prepare)

test:
	$(prepare)
	@if tools/windows/build-qt.sh --check; then \
	  tools/windows/build.sh $(WINDOWS_BUILD) $(DIST); \
	else \
	  echo "Wine tests: not run, no Qt for MinGW-w64 in ~/.cache/tirvelon (make windows builds it)"; \
	fi
	cd $(BUILD) && ctest --output-on-failure --timeout 900 -j $(TEST_JOBS) --label-exclude by-hand

package:
	$(prepare)
	tools/package/make-deb.sh $(BUILD) $(DIST)

windows:
	tools/windows/build.sh $(WINDOWS_BUILD) $(DIST)
