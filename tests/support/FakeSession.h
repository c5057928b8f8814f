// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's session flags for tests of the entry dialog and the review list.
#pragma once

#include "app/ResultsDlg.h"

struct FakeSession : MeasurementSession {
    bool pendingStored = true;
    bool dataSaved = true;
    int dataMenusEnabled = 0; // how often the data menus were enabled

    bool PendingStored() const override { return pendingStored; }
    void SetPendingStored(bool stored) override { pendingStored = stored; }
    void SetDataSaved(bool saved) override { dataSaved = saved; }
    void EnableDataMenus() override { ++dataMenusEnabled; }
};
