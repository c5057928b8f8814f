// SPDX-License-Identifier: GPL-3.0-or-later
// A second instance of the engine, loaded into the page beside the page's own,
// answering what the sky looks like at an instant; and the eyepiece's moon
// layer worked out from its positions by the drawing rules, pixel by pixel.
import type { Page } from '@playwright/test';

// Where the site keeps the two tables the engine starts from.
export const leapSecondsUrl = '/data/Leap%20Seconds.txt';
export const outerPlanetsUrl = '/data/Outer_Pl_Tbl.dat';

export interface Moon {
    earthX: number;
    earthY: number;
    earthZ: number; // toward the Earth negative (the top view's depth)
    sunX: number;
    sunY: number;
    occulted: boolean;
    eclipsed: boolean;
    shadowTransit: boolean;
}

export interface MoonPixel {
    x: number;
    y: number;
    shadowX: number;
    shadowY: number;
}

export interface Sky {
    julianDate: number;
    moons: Moon[]; // index 0 is Io
    pixels: MoonPixel[][]; // [magIndex][moon - 1], as the engine places them
    pictureNumber: number;
}

// Loads the engine once into the page (window.__quorvexTestCore).
export async function loadCore(page: Page): Promise<void> {
    await page.evaluate(
        async ([leapUrl, planetsUrl]) => {
            const w = window as unknown as { __quorvexTestCore?: unknown };
            if (w.__quorvexTestCore) return;
            const url = '/quorvex-core.mjs';
            const mod = (await import(url)) as { default: (o?: object) => Promise<any> };
            const core = await mod.default();
            const bytes = async (u: string) => new Uint8Array(await (await fetch(u)).arrayBuffer());
            core.init(await bytes(leapUrl), await bytes(planetsUrl));
            core.takeMessages();
            w.__quorvexTestCore = core;
        },
        [leapSecondsUrl, outerPlanetsUrl],
    );
}

// The sky at a UT Julian date, from the test's own engine.
export async function skyAt(page: Page, julianDate: number, redSpotLongitude = 119): Promise<Sky> {
    await loadCore(page);
    return page.evaluate(
        ([jd, redSpot]) => {
            const core = (window as unknown as { __quorvexTestCore: any }).__quorvexTestCore;
            // The clock counts days from 1899-12-30 00:00; with a zero zone offset it is UT.
            const instant = core.Instant.fromClock(jd - 2415018.5, 0);
            const sat = core.computeSatellites(instant);
            const features = core.featureDefaults();
            const pixels = [];
            let pictureNumber = 0;
            for (let m = 0; m < 4; ++m) {
                const frame = core.eyepiece(instant, m, features, redSpot);
                pixels.push(frame.pixels);
                pictureNumber = frame.pictureNumber;
            }
            const out = {
                julianDate: instant.julianDate(),
                moons: sat.moons.map((s: any) => ({
                    earthX: s.earthX,
                    earthY: s.earthY,
                    earthZ: s.earthZ,
                    sunX: s.sunX,
                    sunY: s.sunY,
                    occulted: s.occulted,
                    eclipsed: s.eclipsed,
                    shadowTransit: s.shadowTransit,
                })),
                pixels,
                pictureNumber,
            };
            instant.delete();
            core.takeMessages();
            return out;
        },
        [julianDate, redSpotLongitude] as const,
    );
}

export const viewWidth = 628;
export const viewHeight = 326;
export const centreX = 314;
export const centreY = 163;
export const jupiterRadius = [10, 20, 30, 40];

// The nearest integer, halves to even.
export function roundToPixel(v: number): number {
    if (Number.isNaN(v)) return 0;
    const c = Math.max(-(1 << 24), Math.min(1 << 24, v));
    const f = Math.floor(c);
    const d = c - f;
    if (d > 0.5) return f + 1;
    if (d < 0.5) return f;
    return f % 2 === 0 ? f : f + 1;
}

// Where a moon and its shadow fall at a magnification: west right, north down.
export function moonPixel(m: Moon, magIndex: number): MoonPixel {
    const r = jupiterRadius[magIndex];
    return {
        x: centreX + roundToPixel(r * m.earthX),
        y: centreY + roundToPixel(r * m.earthY),
        shadowX: centreX + roundToPixel(r * m.sunX),
        shadowY: centreY + roundToPixel(r * m.sunY),
    };
}

// A dot at a magnification covers (x - a .. x + b - 1): the pixels whose
// centres lie within the circle filling that box.
const dotBoxes = [
    [1, 1],
    [1, 2],
    [2, 2],
    [2, 3],
];
function dotCovers(a: number, b: number, dx: number, dy: number): boolean {
    const cx = 2 * dx + 1 - (b - a);
    const cy = 2 * dy + 1 - (b - a);
    const r = a + b;
    return cx * cx + cy * cy <= r * r;
}

export type Rgb = [number, number, number];
const dotColour: Rgb = [255, 192, 0];
const idColours: Rgb[] = [
    [255, 0, 255],
    [255, 255, 255],
    [0, 255, 255],
    [255, 255, 0],
];

export interface LayerOptions {
    idColors?: boolean;
    showEclipsed?: boolean;
}

// The moon layer of the eyepiece: pixel index (y × width + x) to colour, in
// the order of drawing (moons 1 to 4, each moon's shadow before its dot), so
// that a later mark covers an earlier one. Occulted moons and moons whose
// pixel lies at or left of column 0 or above row 0 are not drawn.
export function moonLayer(sky: Sky, magIndex: number, o: LayerOptions = {}): Map<number, Rgb> {
    const layer = new Map<number, Rgb>();
    const put = (x: number, y: number, c: Rgb) => {
        if (x >= 0 && y >= 0 && x < viewWidth && y < viewHeight) layer.set(y * viewWidth + x, c);
    };
    const [a, b] = dotBoxes[magIndex];
    const dot = (x: number, y: number, c: Rgb) => {
        for (let dy = -a; dy < b; ++dy)
            for (let dx = -a; dx < b; ++dx) if (dotCovers(a, b, dx, dy)) put(x + dx, y + dy, c);
    };
    sky.moons.forEach((m, i) => {
        const p = moonPixel(m, magIndex);
        if (m.occulted || p.x <= 0 || p.y <= 0) return;
        const colour = o.idColors ? idColours[i] : dotColour;
        if (m.eclipsed) {
            if (o.showEclipsed) {
                for (let k = -2; k <= 2; ++k) {
                    put(p.x + k, p.y, colour);
                    put(p.x, p.y + k, colour);
                }
            }
            return;
        }
        if (m.shadowTransit) dot(p.shadowX, p.shadowY, [0, 0, 0]);
        dot(p.x, p.y, colour);
    });
    return layer;
}

// Whether a moon can be measured at a magnification: drawn, inside the view.
export function measurable(sky: Sky, moon: number, magIndex: number): boolean {
    const m = sky.moons[moon - 1];
    const p = moonPixel(m, magIndex);
    return !m.occulted && !m.eclipsed && p.x > 0 && p.y > 0 && p.x < viewWidth && p.y < viewHeight;
}

// The view's pixels, RGBA, row by row, read from the page's canvas.
export async function readCanvas(page: Page, selector: string): Promise<Uint8Array> {
    const base64 = await page.evaluate((sel) => {
        const c = document.querySelector(sel) as HTMLCanvasElement;
        const copy = document.createElement('canvas');
        copy.width = c.width;
        copy.height = c.height;
        const ctx = copy.getContext('2d')!;
        ctx.drawImage(c, 0, 0);
        const data = ctx.getImageData(0, 0, c.width, c.height).data;
        let s = '';
        for (let i = 0; i < data.length; i += 0x8000)
            s += String.fromCharCode(...data.subarray(i, Math.min(i + 0x8000, data.length)));
        return btoa(s);
    }, selector);
    return new Uint8Array(Buffer.from(base64, 'base64'));
}

export interface EclipseStop {
    ticks: number;
    moon: number;
    jdLabel: string; // the read-out of the instant it stops at
}

// The first animation tick, from the UT Julian date `start` in steps of
// `stepHours`, at which a moon is drawn as eclipsed at the magnification
// (in the shadow, not behind the disc, not off the view's top or left edge):
// where "Stop Animation on Eclipse" stops.
export async function firstEclipseStop(
    page: Page,
    start: number,
    stepHours: number,
    maxTicks: number,
    magIndex: number,
): Promise<EclipseStop | null> {
    await loadCore(page);
    return page.evaluate(
        ([jd, step, max, mag]) => {
            const core = (window as unknown as { __quorvexTestCore: any }).__quorvexTestCore;
            const r = [10, 20, 30, 40][mag];
            const round = (v: number) => {
                const f = Math.floor(v);
                const d = v - f;
                return d > 0.5 ? f + 1 : d < 0.5 ? f : f % 2 === 0 ? f : f + 1;
            };
            const instant = core.Instant.fromClock(jd - 2415018.5, 0);
            try {
                for (let tick = 1; tick <= max; ++tick) {
                    instant.advanceHours(step);
                    const moons = core.computeSatellites(instant).moons;
                    for (let i = 0; i < 4; ++i) {
                        const s = moons[i];
                        const x = 314 + round(r * s.earthX);
                        const y = 163 + round(r * s.earthY);
                        if (s.eclipsed && !s.occulted && x > 0 && y > 0)
                            return { ticks: tick, moon: i + 1, jdLabel: instant.jdLabel() as string };
                    }
                }
                return null;
            } finally {
                instant.delete();
                core.takeMessages();
            }
        },
        [start, stepHours, maxTicks, magIndex] as const,
    );
}

// The lines of a hotlist file as the engine reads it ("YYYY/MM/DD HH:MM:SS").
export async function hotListLines(page: Page, url: string): Promise<string[]> {
    await loadCore(page);
    return page.evaluate(async (u) => {
        const core = (window as unknown as { __quorvexTestCore: any }).__quorvexTestCore;
        const bytes = new Uint8Array(await (await fetch(u)).arrayBuffer());
        return core.parseHotList(bytes).entries.map((e: { line: string }) => e.line) as string[];
    }, url);
}
