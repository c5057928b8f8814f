// SPDX-License-Identifier: GPL-3.0-or-later
// The optional features of the observation that the features dialog switches
// and the telescope view, the animation and the top view read. All off when
// the program starts.
#pragma once

struct FeatureFlags {
    bool AnimationFeature = false;     // "Animation"
    bool IDColorsFeature = false;      // "Use ID Colors"
    bool TopViewFeature = false;       // "Show Top View"
    bool StopOnEclipseFeature = false; // "Stop Animation on Eclipse"
    bool ShowEclipsedFeature = false;  // "Show Eclipsed Moon"
};
