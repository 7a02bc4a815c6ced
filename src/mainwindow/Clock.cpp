#include "mainwindow/Clock.h"
