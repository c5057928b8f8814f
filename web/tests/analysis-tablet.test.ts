// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis on a tablet held upright (768×1024), by touch: the
// window and its forms in reach of a finger and on the screen, the curve set
// and moved by a finger on the sliders, a point removed by a double tap; and
// an instructor's best curve and Kepler window. Each checked with axe and
// photographed.
import { expect, test, type Locator, type Page } from '@playwright/test';
import { checkScreen, dialog, message } from './support/app';
import { analysisCaption, analysisWindow, anyMenuItem, moonItems, observedNights, roughGuess, shownRMS, writeDat } from './support/analysis';
import { fixedText, julianDate } from './support/texts';

const first = julianDate(2025, 1, 10, 3);
const jdBase = 2460000;

// A control in reach of a finger: at least 24 px square.
async function tap(target: Locator): Promise<void> {
    await expect(target).toBeVisible();
    const box = (await target.boundingBox())!;
    expect(box.width >= 24 && box.height >= 24, `${await target.getAttribute('aria-label') ?? await target.textContent()} is ${box.width}×${box.height}`).toBe(true);
    await target.tap();
}

// A command of a menu bar (the page's first, or a window's), tapped item by item.
async function tapCommand(scope: Page | Locator, ...path: string[]): Promise<void> {
    for (let i = 0; i < path.length; ++i) {
        const within = i === 0 ? scope.getByRole('menubar').first() : scope.getByRole('menu', { name: path[i - 1], exact: true });
        const item = anyMenuItem(within, path[i]);
        if ((await item.getAttribute('aria-expanded')) === 'true') continue;
        await tap(item);
    }
}

async function tapLogIn(page: Page): Promise<void> {
    await tapCommand(page, 'File', 'Log In...');
    const login = dialog(page, 'Student Accounting');
    await login.getByLabel('Student #1:', { exact: true }).fill('Annie Jump Cannon');
    await login.getByLabel('Laboratory Table Number:', { exact: true }).fill('9');
    await tap(login.getByRole('button', { name: 'OK', exact: true }));
    await tap(message(page, 'Login Completed?').getByRole('button', { name: 'Yes' }));
}

// Twenty nights loaded from a file chosen after File > Data > Load....
async function loadTwentyNights(page: Page, folder: string) {
    const records = await observedNights(page, first, 20);
    const { mkdirSync } = await import('node:fs');
    mkdirSync(folder, { recursive: true });
    const file = `${folder}/TWENTY.DAT`;
    writeDat(file, records);
    const chooser = page.waitForEvent('filechooser');
    await tapCommand(page, 'File', 'Data', 'Load...');
    await (await chooser).setFiles(file);
    await tap(message(page, 'Data Loaded').getByRole('button', { name: 'OK' }));
    return records;
}

async function openAnalysis(page: Page): Promise<Locator> {
    await tapCommand(page, 'File', 'Data', 'Analyze...');
    const win = analysisWindow(page);
    await expect(win).toBeVisible();
    return win;
}

test('the analysis by touch on a tablet: the curve, the sliders, a double tap on a point, the forms', async ({ page }, testInfo) => {
    test.setTimeout(300_000);
    page.on('dialog', (d) => void d.accept());
    await page.goto('/');
    await tapLogIn(page);
    const records = await loadTwentyNights(page, testInfo.outputPath('files'));
    const win = await openAnalysis(page);
    // The whole window on the screen, nothing to scroll sideways.
    const box = (await win.boundingBox())!;
    expect(box.x >= 0 && box.y >= 0 && box.x + box.width <= 768 && box.y + box.height <= 1024, `the window at ${JSON.stringify(box)}`).toBe(true);
    expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(768);
    await checkScreen(page, 'analysis-no-moon', 'the analysis window without a moon');

    await tapCommand(win, 'Data', 'Select Moon', moonItems[0]);
    await tapCommand(win, 'Data', 'Plot', 'Fit Sine Curve', 'Set Initial Parameters...');
    const form = dialog(page, 'Sine Curve Parameters');
    await expect(form).toBeInViewport({ ratio: 1 });
    await checkScreen(page, 'analysis-sine-form', 'the "Sine Curve Parameters" form');
    const g = roughGuess(records, 1, jdBase);
    await form.getByLabel('T-Zero (Mod. Jul. Date):').fill(String(g.tZero));
    await form.getByLabel('Period (Days):').fill(String(g.period));
    await form.getByLabel('Amplitude (Jup. Diams.):').fill(String(g.amplitude));
    await tap(form.getByRole('button', { name: 'OK' }));
    await expect(form).toBeHidden();
    const rms0 = await shownRMS(win);
    expect(rms0).toBeGreaterThan(0);

    // A finger on the period slider, right of its middle: a longer period.
    const period = win.getByRole('slider', { name: 'Period (Days)' });
    const s = (await period.boundingBox())!;
    await page.touchscreen.tap(s.x + s.width * 0.75, s.y + s.height / 2);
    expect(Number(await period.inputValue())).toBeGreaterThan(50);
    const longer = await win.getByRole('img', { name: /^Period \(Days\): / }).getAttribute('aria-label');
    expect(Number(longer!.split(': ')[1])).toBeGreaterThan(g.period * 1.05);
    expect(await shownRMS(win)).not.toBe(rms0);
    await tap(win.getByRole('button', { name: 'Reset the Period Slider' }));
    await expect(period).toHaveValue('0');
    await expect(win.getByRole('img', { name: /^Period \(Days\): / })).toHaveAttribute('aria-label', longer!);
    await tap(win.getByRole('switch', { name: 'Slider Sensitivity' }));
    await expect(win.getByRole('switch', { name: 'Slider Sensitivity' })).toHaveAttribute('aria-checked', 'true');
    await checkScreen(page, 'analysis-curve', 'the analysis window with a curve');

    // A double tap on the first point asks to remove it.
    const io = records.filter((r) => r.offsets[0] < 100);
    const plot = win.getByRole('application', { name: 'Orbit plot' });
    const pb = (await plot.boundingBox())!;
    const px = 65 + Math.round((io[0].jd - jdBase - 685) * 27.5);
    const py = 150 - Math.round(io[0].offsets[0] * (250 / 9));
    await page.touchscreen.tap(pb.x + px + 0.5, pb.y + py + 0.5);
    await page.touchscreen.tap(pb.x + px + 0.5, pb.y + py + 0.5);
    const q = message(page, 'Remove Selected Point?');
    await expect(q).toContainText(`JD: ${fixedText(io[0].jd, 5)}`);
    await checkScreen(page, 'analysis-remove-question', 'the "Remove Selected Point?" question');
    await tap(q.getByRole('button', { name: 'Yes' }));
    await expect(win.getByRole('table').getByRole('row').nth(1)).toContainText('No (removed)');

    await tapCommand(win, 'Data', 'Plot', 'Set Data Span...');
    const span = dialog(page, 'Set Data Span for Plot');
    await expect(span).toBeInViewport({ ratio: 1 });
    await checkScreen(page, 'analysis-span-form', 'the "Set Data Span for Plot" form');
    await tap(span.getByRole('button', { name: 'Cancel' }));
    await expect(span).toBeHidden();
    await tapCommand(win, 'Data', 'Exit');
    await expect(dialog(page, analysisCaption)).toBeHidden();
});

test('an instructor’s best curve and Kepler window on a tablet', async ({ page, context }, testInfo) => {
    test.setTimeout(300_000);
    page.on('dialog', (d) => void d.accept());
    await context.route('**/quorvex-options.json', (r) =>
        r.fulfill({ status: 200, contentType: 'application/json', body: JSON.stringify({ LoginRequired: false, TestMode: true }) }),
    );
    await page.goto('/');
    const records = await loadTwentyNights(page, testInfo.outputPath('files'));
    const win = await openAnalysis(page);
    for (let m = 1; m <= 4; m++) {
        await tapCommand(win, 'Data', 'Select Moon', moonItems[m - 1]);
        await tapCommand(win, 'Data', 'Plot', 'Fit Sine Curve', 'Set Initial Parameters...');
        const form = dialog(page, 'Sine Curve Parameters');
        const g = roughGuess(records, m, jdBase);
        await form.getByLabel('T-Zero (Mod. Jul. Date):').fill(String(g.tZero));
        await form.getByLabel('Period (Days):').fill(String(g.period));
        await form.getByLabel('Amplitude (Jup. Diams.):').fill(String(g.amplitude));
        await tap(form.getByRole('button', { name: 'OK' }));
    }
    await tapCommand(win, 'Data', 'Plot', 'Fit Sine Curve', 'Best Fit');
    await expect(win.locator('[id^="plot-best-fit"]')).toHaveText(/^Best fit: P = /);
    await checkScreen(page, 'analysis-best-fit', 'the analysis window with the best curve');
    await tapCommand(win, 'Data', "Kepler's Third Law...");
    const kepler = dialog(page, "Kepler's Third Law");
    await expect(kepler.getByRole('option').first()).toHaveText("Jupiter's Mass by Kepler's Third Law");
    await checkScreen(page, 'analysis-kepler', "the Kepler's Third Law window");
});
