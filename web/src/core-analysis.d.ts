// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis window's engine ("Jupiter Satellite Orbit Analysis"):
// the plot as shapes to draw, the read-outs, the menus' states, the sliders,
// the two forms' rules and the printed texts. The page draws what it is given
// and forwards the student's actions; every rule and text comes from here.
//
// Plot pixels: the plot is PLOT_WIDTH x PLOT_HEIGHT (654 x 336), x to the
// right, y down. The frame runs from (65, 25) to (614, 274) with the zero line
// at y = 150.
//
// Moons are 1 Io .. 4 Callisto; arrays "per moon" have four elements, index 0
// for Io. Record indexes count the desk's table from 0 in table order.
//
// When something changed, call picture() once: it redraws and computes the
// residual, whose colour compares it with the residual of the previous
// drawing. Calling picture() again without a change returns the same
// drawing (nothing is evaluated again).

import './core';

declare module './core' {
    /** A colour role of the plot (the window's colour table). */
    type PlotInk = 'background' | 'frame' | 'points' | 'removed' | 'curve' | 'cross' | 'bestFit';

    interface PlotShapeBase {
        ink: PlotInk;
        /** The role's colour in the picture's mode: "#rrggbb". */
        colour: string;
    }
    /** A filled rectangle of the pixels x..x+w-1, y..y+h-1. */
    interface PlotFill extends PlotShapeBase {
        kind: 'fill';
        x: number;
        y: number;
        w: number;
        h: number;
    }
    /** A one-pixel outline through the pixels x..x+w-1, y..y+h-1 (not filled). */
    interface PlotRect extends PlotShapeBase {
        kind: 'rect';
        x: number;
        y: number;
        w: number;
        h: number;
    }
    /** A one-pixel line; both end pixels belong to it. */
    interface PlotLine extends PlotShapeBase {
        kind: 'line';
        x1: number;
        y1: number;
        x2: number;
        y2: number;
    }
    /** A one-pixel outline of the ellipse inscribed in the pixels x..x+w-1, y..y+h-1 (not filled). */
    interface PlotEllipse extends PlotShapeBase {
        kind: 'ellipse';
        x: number;
        y: number;
        w: number;
        h: number;
    }
    /**
     * A one-pixel line through the points (x0, y0, x1, y1, ...), in pieces
     * from each point to the next (the student's sine curve, one point per
     * pixel column). With `clip` only the frame's interior is drawn
     * (PlotPicture.interior).
     */
    interface PlotPolyline extends PlotShapeBase {
        kind: 'polyline';
        points: number[];
        clip: boolean;
    }
    /**
     * A stroked one-pixel path through the points (the best-fit curve), with
     * `dash` as canvas setLineDash lengths (empty: solid; dashed on paper).
     */
    interface PlotPath extends PlotShapeBase {
        kind: 'path';
        points: number[];
        dash: number[];
        clip: boolean;
    }
    /** Text with its top-left corner at (x, y), in the picture's font. */
    interface PlotText extends PlotShapeBase {
        kind: 'text';
        x: number;
        y: number;
        text: string;
    }
    type PlotShape = PlotFill | PlotRect | PlotLine | PlotEllipse | PlotPolyline | PlotPath | PlotText;

    /** A seven-segment read-out. */
    interface AnalysisReadout {
        powered: boolean; // false: blank
        value: number;
        /** What it lights, right-aligned in its places (dashes for a value that does not fit); "" when off. */
        text: string;
    }

    /** The read-outs below the plot, as the last picture() left them. */
    interface AnalysisReadouts {
        tZero: AnalysisReadout; // "T-Zero (Julian Day)": a full Julian date, 12 digits, 5 decimals
        period: AnalysisReadout; // "Period (Days)": 7 digits, 5 decimals
        amplitude: AnalysisReadout; // "Amplitude (Jupiter Diameters)": 6 digits, 4 decimals
        x: AnalysisReadout; // "X (Mod. JD)": the day under the cross, 4 digits, 1 decimal
        y: AnalysisReadout; // "Y (Jp. Diam)": the offset under the cross, 4 digits, 2 decimals, with sign place
        /** "RMS Residual": "    1.2345678E-01  ", "    (period is zero)" or "". */
        rmsText: string;
        /** The residual grew since the last drawing (red; silver in monochrome). */
        rmsWorse: boolean;
        /** The RMS text's colour now: "#rrggbb". */
        rmsColour: string;
        /** The segments' colour: lime, white in monochrome. */
        segmentColour: string;
    }

    /** One drawing of the plot: draw `shapes` in order (the first fills the background). */
    interface PlotPicture {
        width: number; // 654
        height: number; // 336
        monochrome: boolean;
        /** The labels' font: bold, this many pixels high, sans-serif ("Liberation Sans" on the desktop). */
        fontPixels: number;
        /** The frame's interior, where clipped shapes are drawn. */
        interior: { x: number; y: number; w: number; h: number };
        shapes: PlotShape[];
        readouts: AnalysisReadouts;
    }

    /** An item of the window's menu. */
    interface AnalysisMenuItem {
        enabled: boolean;
        checked: boolean;
        visible: boolean;
    }

    /** Everything the menu and the sensitivity switch show now. */
    interface AnalysisMenuState {
        /** Data > Select Moon: "&Io (I)" .. "&Callisto (IV)", per moon (enabled: the moon has data). */
        moons: AnalysisMenuItem[];
        plot: AnalysisMenuItem; // "&Plot" submenu: enabled once a moon is selected
        showPoints: AnalysisMenuItem; // Plot Type > "&Show Points"
        connectPoints: AnalysisMenuItem; // Plot Type > "&Connect Points"
        setInitialParameters: AnalysisMenuItem; // "Set &Initial Parameters...": checked while its form is open
        showSineCurve: AnalysisMenuItem; // "&Show Sine Curve": enabled when the moon's parameters are complete
        /** "&Best Fit": visible in Test or Edit Mode only. */
        bestFit: AnalysisMenuItem;
        sineParametersSummary: AnalysisMenuItem; // Print > "Sine Parameters &Summary"
        /**
         * "&Kepler's Third Law...": always visible and enabled, as on the
         * desktop (a student's command: the help's "Kepler's Third Law
         * Window" topic describes it to the students). Only Best Fit is
         * kept for instructors.
         */
        keplersThirdLaw: AnalysisMenuItem;
        /** The Coarse/Fine switch: enabled while the sine curve is shown; fine: its active position. */
        sensitivity: { enabled: boolean; fine: boolean };
        currentMoon: number; // 0: none selected
    }

    /** The options the window follows (SessionOptions' members of these names). */
    interface AnalysisModes {
        testMode: boolean;
        editMode: boolean;
        monochrome: boolean;
    }

    type AnalysisSlider = 'tZero' | 'period' | 'amplitude';

    /** The texts "Sine Curve Parameters" shows when it opens ("" for a value not above 0). */
    interface SineParameterTexts {
        tZero: string; // "T-Zero (Mod. Jul. Date):", 5 decimals
        period: string; // "Period (Days):", 5 decimals
        amplitude: string; // "Amplitude (Jup. Diams.):", 2 decimals
    }

    /** What "Set Data Span for Plot" shows when it opens. */
    interface SpanFormTexts {
        dataStart: string; // "Data Start (JD):", 5 decimals (read-only)
        dataEnd: string; // "Data End (JD):", 5 decimals (read-only)
        days: string; // "# of Days:", 1 decimal (read-only)
        plotStart: string; // the start day box (at most 3 characters)
        /** The "# of Days to Plot" item selected, 0..4. */
        spanItem: number;
        /** The five items: "10 Days", "20 Days", "30 Days", "40 Days ", "50 Days". */
        spanItems: string[];
    }

    /** A measurement of the selected moon as plotted, for the page's data table. */
    interface PlottedPoint {
        index: number; // the record's index in the desk's table
        julianDate: number; // display only
        offset: number; // Jupiter diameters, east negative
        included: boolean; // false: removed from the residual (drawn as an X)
        x: number; // plot pixel
        y: number;
        /** "JD 2454323.70000, offset 1.50 W, in the residual" (or ", removed from the residual"). */
        description: string;
    }

    /** What a key on the plot did. */
    interface PlotKeyResult {
        handled: boolean; // false: not the plot's key (let it go on)
        /** A record whose point to ask about (pointQuestion), then togglePoint on Yes; -1 for none. */
        askToggle: number;
    }

    /** A line of the printed "Fitted Sine Curve Parameters". */
    interface SummaryLine {
        linesDown: number; // lines below the previous one (the first: below the page header)
        x: number; // 10 for the title, 1 for the rest
        text: string; // 81 characters, for a fixed-pitch font
    }

    interface OrbitAnalysis {
        delete(): void;

        // --- Showing and resetting.
        /**
         * Each showing of the window: rebuilds the moons' summaries when the
         * desk's table changed since, takes the modes (Best Fit is hidden and
         * unchecked outside Test and Edit Mode). Returns "Data Span > 50
         * Days" when the selected moon's scales had to be prepared again and
         * its data cover more than 50 days; null otherwise.
         */
        show(modes: AnalysisModes): CoreMessage | null;
        /** The modes changed while the window is open (or its Fit Sine Curve menu opens). */
        setModes(modes: AnalysisModes): void;
        /**
         * After a measurement file is loaded: no moon, Show Points, coarse
         * sliders at the centre, Best Fit unchecked, the parameters form
         * closed. The page then closes the window and its forms.
         */
        reset(): void;

        // --- Menus.
        menuState(): AnalysisMenuState;
        /** Per moon: the moon has a usable measurement (its menu item is enabled). */
        moonsWithData(): boolean[];
        /** Data > Select Moon: "Data Span > 50 Days" when its data cover more than 50 days, else null. */
        selectMoon(moon: number): CoreMessage | null;
        /** Plot Type: Connect Points (true) or Show Points (false). */
        setPlotType(connect: boolean): void;
        /** "&Show Sine Curve": inverts its check, blanks the fit read-outs, closes the parameters form's check, Show Points. */
        showSineCurve(): void;
        /** "&Best Fit" checked or not (only while visible). */
        setBestFit(checked: boolean): void;

        // --- The plot.
        /** Draws the plot (see the top of this file) with the read-outs. */
        picture(): PlotPicture;
        /**
         * The same drawing in the printout's colours (monochrome unless
         * printColor), with the read-outs' colours; the next picture() is in
         * the screen's colours again.
         */
        printPicture(printColor: boolean): PlotPicture;
        /** The read-outs as the last picture() left them. */
        readouts(): AnalysisReadouts;
        /** The selected moon's measurements drawn on the plot, in table order. */
        plottedPoints(): PlottedPoint[];

        // --- The mouse (left button only) and the cross.
        /** Button down: the cross goes to (x, y) and follows the mouse while the button is held. */
        mouseDown(x: number, y: number): void;
        /** Mouse move: the cross follows while dragging; after a double click on a point it is hidden. */
        mouseMove(x: number, y: number): void;
        mouseUp(x: number, y: number): void;
        /**
         * Double click (after mouseDown at the same place): the record whose
         * point is within 4 pixels of the cross, or -1. Ask pointQuestion for
         * it and call togglePoint on Yes; the next mouse move hides the cross.
         */
        doubleClick(): number;
        /** The cross goes away (position 0, 0) and dragging ends. */
        hideCursor(): void;
        /** Where the cross is (plot pixels; it is drawn only inside the frame) and whether it is being dragged. */
        cursor(): { x: number; y: number; dragging: boolean };
        /** The record whose point lies within 4 pixels of (x, y) both ways, or -1. */
        pointAt(x: number, y: number): number;

        // --- Points removed from and restored to the residual.
        /** "Remove Selected Point?" or "Restore Selected Point?" (Yes/No); null for an index that is no record. */
        pointQuestion(index: number): CoreMessage | null;
        /**
         * The answer Yes: inverts the record's Included flag for the selected
         * moon (nothing else changes) and marks the desk's data unsaved: keep
         * desk.state() afterwards. false when there was nothing to change.
         */
        togglePoint(index: number): boolean;

        // --- The keyboard on the plot.
        /** The records whose points the keys step through (inside the frame), in table order. */
        selectablePoints(): number[];
        /** The selected record (a square around its point), or -1. */
        selectedPoint(): number;
        /**
         * A key on the plot (KeyboardEvent.key): arrows select the previous
         * ("ArrowLeft", "ArrowUp") or next point and put the cross on it,
         * "Home"/"End" the first or last; "Enter" and " " ask about the
         * selected point (askToggle).
         */
        plotKey(key: string): PlotKeyResult;
        /** "Io (I): JD 2454323.70000, offset 1.50 W, in the residual", or "No point selected. The arrow keys select the points." */
        selectedDescription(): string;

        // --- The sliders (positions -200..200, large change 10).
        /** A slider moved: T-zero, period or amplitude from its centre value. */
        setSlider(which: AnalysisSlider, position: number): void;
        /** A reset button: the slider back to 0 around the present value (which stays). */
        resetSlider(which: AnalysisSlider): void;
        /** The Coarse/Fine switch: sets the step and resets the three sliders. */
        setFine(fine: boolean): void;
        /** Positions of the T-zero, period and amplitude sliders. */
        sliderPositions(): number[];

        // --- "Sine Curve Parameters" (modeless, follows the selected moon).
        /** "Set &Initial Parameters...": checks the item, unchecks Show Sine Curve; returns the form's texts. */
        openParameters(): SineParameterTexts;
        /** The form's texts for the selected moon now (after selectMoon while it is open). */
        parameterTexts(): SineParameterTexts;
        /**
         * The form's OK: "All prameters must be filled in!" ("Invalid
         * Parameters") or "Numeric Conversion Error!..." ("Input Error"), the
         * form staying open; null: stored, the curve is shown, close the form.
         */
        acceptParameters(tZero: string, period: string, amplitude: string): CoreMessage | null;
        /** The form's Cancel (or it was closed). */
        closeParameters(): void;

        // --- "Set Data Span for Plot" (modal).
        spanFormTexts(): SpanFormTexts;
        /** OK: "Invalid Start Date!" for a start that is no whole number of at most 3 characters; null: applied, close. */
        acceptSpan(startText: string, spanItem: number): CoreMessage | null;

        // --- Printouts and the Kepler report.
        /** Print > "Sine Parameters &Summary": the lines below the page header. */
        summaryLines(): SummaryLine[];
        /** The best-fit line drawn under the plot ("" when Best Fit is off or hidden). */
        bestFitText(): string;
        /** "Kepler's Third Law": the report window's lines, from the curves and data spans as they are now. */
        keplerReportLines(): string[];

        // --- Keeping the fits in the browser.
        /** The four moons' sine parameters as bytes; restore() takes them back. */
        state(): Uint8Array;
        /** false (and nothing changed) for bytes that are not such a state. */
        restore(bytes: Uint8Array): boolean;
    }

    interface OrbitAnalysisConstructor {
        /** The analysis of the desk's table; the desk must outlive it. */
        new (desk: MeasurementDesk): OrbitAnalysis;
    }

    interface QuorvexCore {
        OrbitAnalysis: OrbitAnalysisConstructor;
        readonly PLOT_WIDTH: number; // 654
        readonly PLOT_HEIGHT: number; // 336
        readonly SLIDER_MIN: number; // -200
        readonly SLIDER_MAX: number; // 200
        readonly SLIDER_LARGE_CHANGE: number; // 10
    }
}
