// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's top view ("Top View of Jupiter & Moons"), timing dialog
// ("Timing Intervals") and table of Jupiter's phenomena ("Planetary
// Phenomena"), from web/bindings/TopViewBindings.cpp.
import type { CoreMessage, FeatureFlags, Instant } from './core';
import './core';

/** How a moon in Jupiter's shadow is drawn: not at all, as a "+", or as any other moon. */
export type EclipseDisplay = 'hide' | 'plus' | 'dot';

/** The top view's menu choices and the features one drawing reads. */
export interface TopViewChoices {
    showOrbits: boolean; // "Show Orbits"
    eclipses: EclipseDisplay; // the "Eclipses" submenu
    idColors: boolean; // the "Use ID Colors" feature
    highlightMoon: number; // 1..4: the moon under the telescope view's crosshair, ringed; 0 none
}

export interface TopViewPoint {
    x: number;
    y: number;
}

/**
 * One drawing of the top view, in image pixels (x right = west, y down =
 * toward the Earth). The page fills the image black, then every rectangle of
 * `marks` in order (five numbers each: x, y, w, h, 0xRRGGBB), putting the
 * arrow icon (top-left at `arrowCorner`) and `toEarthText` (white, 11 px
 * sans-serif, top-left at `textCorner`) in before rectangle `arrowAt`.
 */
export interface TopViewFrame {
    width: number; // Normal 304, Large 632
    height: number; // Normal 344, Large 632
    centreX: number; // Jupiter's centre
    centreY: number;
    marks: Int32Array;
    arrowAt: number;
    arrowCorner: TopViewPoint;
    textCorner: TopViewPoint;
    toEarthText: string; // "To Earth"
    points: TopViewPoint[]; // per moon: where it is drawn
    /** Per moon, in words: "Io: 5.9 Jupiter radii west, 0.3 toward the Earth". */
    positions: string[];
}

/** The timing values as the desk holds them. */
export interface TimingValues {
    dataIntervalHours: number; // the step of "Next"
    animationStepHours: number; // one animation tick
    animationTimerMs: number; // the animation timer's period
}

/** The timing dialog's OK: the values after it (those taken before a refused edit stay). */
export interface TimingResult extends TimingValues {
    failedField: number; // -1: all taken; 0, 1, 2: the edit that was refused
    message: CoreMessage | null; // "Timing Intervals": "'x' is not a number of hours from 0.01 to 87660.00."
}

declare module './core' {
    interface QuorvexCore {
        // --- The top view.
        /** The top view of the last computeSatellites, Normal or Large, for an arrow icon of the given size. */
        topViewFrame(large: boolean, choices: TopViewChoices, iconWidth: number, iconHeight: number): TopViewFrame;
        /** Whether the top view shows: "Show Top View" is on and the options allow it. */
        topViewShown(features: FeatureFlags, allowTopView: boolean): boolean;
        /** The arrow icon's nominal side (32), which places "To Earth" without the icon. */
        readonly ARROW_ICON_SIDE: number;

        // --- The timing dialog.
        readonly TIMING_CAPTION: string; // "Timing Intervals"
        /** The three edits' texts for the values: "24.00", "0.10", "10". */
        timingEntryTexts(values: TimingValues): string[];
        /** OK: the edits (interval, step, timer) taken in order into a copy of `values`. */
        takeTimingEntries(values: TimingValues, texts: string[]): TimingResult;

        // --- The phenomena.
        /**
         * The table "Planetary Phenomena" shows for the instant: the heading,
         * "(Times are UT)", an empty line and the four phenomena. Messages of
         * a search that failed wait in takeMessages().
         */
        phenomenaLines(instant: Instant): string[];
    }
}
