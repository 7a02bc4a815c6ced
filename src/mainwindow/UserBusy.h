#pragma once

// Whether the user is presenting, in a full-screen program or a call, or has asked the desktop
// not to be disturbed: Windows' notification state (busy, full-screen Direct3D, presentation
// mode); on Linux GNOME's banners turned off, or a notification server's Inhibited property.
// Asked once at each call; false when nothing can say.
bool userIsBusy();
