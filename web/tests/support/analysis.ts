// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis as the tests reach it: a group's measurement file made
// from the test's own engine (the true offsets plus a few pixels of reading
// noise), quorvex-tool's best curves for it, a student's rough first guess,
// and the analysis window's menus driven by the keyboard.
import { expect, type Locator, type Page } from '@playwright/test';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { answer, dialog, loadFile, tabTo } from './app';
import { measurable, roundToPixel, skyAt } from './core';
import { encodeDatRecord, type DatRecord } from './datfile';
import { quorvexTool } from './paths';
import { recordedValue } from './texts';

export const analysisCaption = 'Jupiter Satellite Orbit Analysis';
export const moonItems = ['Io (I)', 'Europa (II)', 'Ganymede (III)', 'Callisto (IV)'];
// The moons' synodic periods as a student finds them in a textbook, days.
export const textbookPeriods = [1.77, 3.55, 7.17, 16.75];

// A small generator of the same numbers on every run.
function lcg(seed: number): () => number {
    let s = seed >>> 0;
    return () => {
        s = (Math.imul(s, 1664525) + 1013904223) >>> 0;
        return s / 2 ** 32;
    };
}

// `nights` observations `stepHours` apart from the UT Julian date `first`,
// each moon read at 100X where it can be seen, off by up to `noisePixels`.
export async function observedNights(
    page: Page,
    first: number,
    nights: number,
    stepHours = 24,
    noisePixels = 2,
): Promise<DatRecord[]> {
    const noise = lcg(20250110);
    const out: DatRecord[] = [];
    for (let n = 0; n < nights; n++) {
        const jd = first + (n * stepHours) / 24;
        const sky = await skyAt(page, jd);
        const offsets = [1, 2, 3, 4].map((m) => {
            if (!measurable(sky, m, 0)) return 100;
            const dx = roundToPixel(10 * sky.moons[m - 1].earthX) + Math.round((2 * noise() - 1) * noisePixels);
            return recordedValue(dx / 20);
        });
        out.push({ jd: sky.julianDate, offsets, included: [true, true, true, true] });
    }
    return out;
}

export function writeDat(file: string, records: DatRecord[]): void {
    fs.writeFileSync(file, Buffer.concat(records.map(encodeDatRecord)));
}

export interface ToolFit {
    points: number;
    tZero: number;
    period: number;
    amplitude: number;
    rms: number;
    siderealPeriod: number;
    radiusKm: number;
    massKg: number;
    text: Record<string, string>; // the columns as printed
}

// `quorvex-tool fit FILE`: the best curve of each moon, by moon 1..4.
export function toolFit(file: string): Map<number, ToolFit> {
    const csv = execFileSync(quorvexTool, ['fit', file], { encoding: 'utf8' });
    const [head, ...rows] = csv.trim().split('\n');
    const names = head.split(',');
    const out = new Map<number, ToolFit>();
    for (const row of rows) {
        const cells = row.split(',');
        const moon = ['Io', 'Europa', 'Ganymede', 'Callisto'].indexOf(cells[0]) + 1;
        if (moon === 0) continue;
        const text = Object.fromEntries(names.map((n, i) => [n, cells[i] ?? '']));
        out.set(moon, {
            points: Number(text.Points),
            tZero: Number(text.TZero),
            period: Number(text.Period),
            amplitude: Number(text.Amplitude),
            rms: Number(text.RMS),
            siderealPeriod: Number(text.SiderealPeriod),
            radiusKm: Number(text.RadiusKm),
            massKg: Number(text.MassKg),
            text,
        });
    }
    return out;
}

export interface Guess {
    tZero: number; // days after jdBase
    period: number;
    amplitude: number;
}

// What a student reads off the plot: the largest offset for the amplitude,
// the textbook's period, and the zero crossing that suits the points best
// on a coarse grid; rounded as typed.
export function roughGuess(records: DatRecord[], moon: number, jdBase: number): Guess {
    const pts = records
        .filter((r) => r.included[moon - 1] && r.offsets[moon - 1] < 100)
        .map((r) => ({ t: r.jd - jdBase, y: r.offsets[moon - 1] }));
    const amplitude = Math.max(...pts.map((p) => Math.abs(p.y)));
    const period = textbookPeriods[moon - 1];
    let best = { t0: 0, rms: Infinity };
    for (let k = 0; k < 100; k++) {
        const t0 = pts[0].t + (k / 100) * period;
        const rms = Math.sqrt(pts.reduce((s, p) => s + (amplitude * Math.sin((2 * Math.PI * (p.t - t0)) / period) - p.y) ** 2, 0) / pts.length);
        if (rms < best.rms) best = { t0, rms };
    }
    return { tZero: Math.round(best.t0 * 100) / 100, period, amplitude: Math.round(amplitude * 100) / 100 };
}

export function analysisWindow(page: Page): Locator {
    return dialog(page, analysisCaption);
}

// The text of the element that has the focus (without a submenu's arrow).
function focusedText(page: Page): Promise<string> {
    return page.evaluate(() => (document.activeElement?.textContent ?? '').replace(/\u25b8/g, '').trim());
}

// A command of a window's menu bar by keyboard alone: Tab to the bar, the
// arrows along it, Enter opens a menu, Down to the item, Right opens a
// submenu, Enter chooses.
export async function keyCommand(page: Page, scope: Locator, ...path: string[]): Promise<void> {
    const bar = scope.getByRole('menubar').first();
    const onBar = await bar.evaluate((b) => b.contains(document.activeElement));
    if (!onBar) await tabTo(page, bar.locator('[tabindex="0"]').first());
    for (let k = 0; k < 6 && (await focusedText(page)) !== path[0]; ++k) await page.keyboard.press('ArrowRight');
    expect(await focusedText(page)).toBe(path[0]);
    await page.keyboard.press('Enter');
    for (let i = 1; i < path.length; ++i) {
        for (let k = 0; k < 12 && (await focusedText(page)) !== path[i]; ++k) await page.keyboard.press('ArrowDown');
        expect(await focusedText(page), `menu item ${path.slice(0, i + 1).join(' > ')}`).toBe(path[i]);
        await page.keyboard.press(i < path.length - 1 ? 'ArrowRight' : 'Enter');
    }
}

// A file loaded with the picker and its "Data Loaded" message answered.
export async function loadMeasurements(page: Page, file: string): Promise<void> {
    await loadFile(page, file);
    await answer(page, 'Data Loaded', null, 'OK');
}

// The residual the window shows now (a number; NaN when blank).
export async function shownRMS(win: Locator): Promise<number> {
    return Number((await win.getByRole('textbox', { name: 'RMS Residual', exact: true }).inputValue()).trim());
}

// What a read-out lights: its accessible name is "Caption: value".
export async function readoutValue(win: Locator, caption: string): Promise<string> {
    const name = await win.getByRole('img', { name: new RegExp(`^${caption.replace(/[()]/g, '\\$&')}`) }).getAttribute('aria-label');
    return (name ?? '').slice(caption.length + 2);
}

// A menu's item by its name, whatever its kind: plain, check box or choice.
export function anyMenuItem(within: Locator, name: string): Locator {
    const named = { name, exact: true };
    return within
        .getByRole('menuitem', named)
        .or(within.getByRole('menuitemradio', named))
        .or(within.getByRole('menuitemcheckbox', named))
        .first();
}

// A command of a window's menu bar by mouse: each menu opened by a click.
export async function clickCommand(scope: Locator, ...path: string[]): Promise<void> {
    const bar = scope.getByRole('menubar').first();
    for (let i = 0; i < path.length; ++i) {
        const within = i === 0 ? bar : scope.getByRole('menu', { name: path[i - 1], exact: true });
        const item = anyMenuItem(within, path[i]);
        await expect(item, `menu item ${path.slice(0, i + 1).join(' > ')}`).toBeVisible();
        if ((await item.getAttribute('aria-expanded')) === 'true') continue;
        await item.click();
    }
}
