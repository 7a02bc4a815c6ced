#pragma once

class QMenu;

// Turns a menu right to left, its texts drawn from the right as well: styles paint menu texts
// with the painter's direction, which is the application's (left to right), so the items would
// sit at the left, away from their checks at the right.
void makeRightToLeft(QMenu *menu);
