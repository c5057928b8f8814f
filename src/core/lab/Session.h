// SPDX-License-Identifier: GPL-3.0-or-later
// The state of one run of the exercise that the main window and its rooms
// share: what is shown, who is logged in, the options' pending updates, the
// observation instant, the measurement flags and the clock's steps. One
// struct, owned by the main window.
#pragma once

#include "ephemeris/DateTime.h"

#include <cstdint>
#include <string>

struct Session {
    int DisplayState = 0;         // 0 logo, 1 title picture, 2 telescope view
    bool LoggedIn = false;        // a log-in (or the demonstration user) is established
    bool OptionsAccess = false;   // Preferences > Options may open the options dialog
    bool UpdatesPending = false;  // the options changed and were not yet written
    bool DefaultsPending = false; // an administrator's change not yet offered to all users
    bool QuitConfirmed = false;
    bool RunOffered = false; // "Run..." may start the view: every session start offers it

    // A placement on the picture on screen is complete: "Record" may record it.
    bool CursorPlaced = false;

    DateTimeRec ObservationInstant;

    // Measurements: false once the table changed and was not saved / once the
    // entry dialog accepted a value the table does not hold yet.
    bool DataSaved = true;
    bool PendingStored = true;
    // A record was stored or a file with records loaded: "Review/Edit/Print...",
    // "Save" and "Analyze..." stay usable, also once the last record is deleted.
    bool TableMenus = false;
    std::string LastDataFile;  // the last file chosen for saving
    std::string SavedDataFile; // the last file saved successfully
    std::string LoadFileName;  // the file being loaded

    // The clock's steps, from the options at every session start.
    long double DataInterval = 24.0L;      // hours, the step of "Next"
    long double AnimationStepHours = 0.1L; // hours, one animation tick
    uint16_t AnimationTimerMs = 10;        // the animation timer's period
    bool Animating = false;
};
