#pragma once

#include <QString>

// The texts of the user's own recordings, of the call in a meeting and of the icon's first
// balloon, in Arabic (language 0) and Kurdish (1).
namespace SoundCaptions {

// The recordings' menu: the dawn call's and the start-up sound's headings (the muezzin's is his
// name), and each entry's two items.
QString dawnHeading(int language);
QString startupHeading(int language);
QString chooseItem(int language);
QString shippedItem(int language);
// The mark after a muezzin's name in the list when he plays the user's own recording.
QString ownMark(int language);
// The file dialog: its title and its filters.
QString chooseTitle(int language);
QString chooseFilters(int language);
// Why a chosen file was not taken (OwnRecordings::Verdict, as int), one sentence; "" for taken.
// minimumSeconds is the entry's shortest length; 7: the user's own could not be removed.
QString refusal(int verdict, int minimumSeconds, int language);
// The question before the user's own recording is removed.
QString shippedQuestion(int language);

// The volume slider's menu: the heading and the three choices (0 the call as always, 1 quietly,
// 2 the strip alone).
QString meetingHeading(int language);
QString meetingItem(int choice, int language);

// The balloon of the icon the first time the window goes into the notification area.
QString trayNote(int language, bool windows);

} // namespace SoundCaptions
