// SPDX-License-Identifier: GPL-3.0-or-later
// The top view drawn where the engine puts the moons (and following "Next",
// the two sizes, the eclipse displays and the crosshair), the timing dialog's
// values and messages and their effect on "Next", and the table of Jupiter's
// phenomena as quorvex-tool lists it, printed to a PDF; each window checked
// with axe and photographed at both sizes.
import { expect, test, type Locator, type Page } from '@playwright/test';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import {
    answer,
    button,
    checkScreen,
    command,
    dialog,
    expectEveryControlReachableByTab,
    menu,
    placeWithMouse,
    readoutPanel,
    run,
    start,
} from './support/app';
import { measurable, moonPixel, readCanvas, skyAt, type Moon } from './support/core';
import { quorvexTool } from './support/paths';
import { fixedText, julianDate, moonNames } from './support/texts';

const topViewCaption = 'Top View of Jupiter & Moons';
const phenomenaMenu = ['File', 'Observation Date', 'Jupiter Phenomena'] as const;
// Ganymede is in Jupiter's shadow beside the planet.
const eclipse = { date: '2025/01/10', time: '05:00:00', jd: julianDate(2025, 1, 10, 5) };

type Rgb = [number, number, number];
const idColours: Rgb[] = [
    [255, 0, 255],
    [255, 255, 255],
    [0, 255, 255],
    [255, 255, 0],
];
const sizes = {
    Normal: { width: 304, height: 344, centreX: 151, centreY: 151, scale: 5.5 },
    Large: { width: 632, height: 632, centreX: 316, centreY: 276, scale: 10 },
};
type Size = keyof typeof sizes;

function round(v: number): number {
    const f = Math.floor(v);
    const d = v - f;
    return d > 0.5 ? f + 1 : d < 0.5 ? f : f % 2 === 0 ? f : f + 1;
}

// Seen from above: west to the right, the far side up.
function topPoint(m: Moon, size: Size): { x: number; y: number } {
    const s = sizes[size];
    return { x: s.centreX + round(m.earthX * s.scale), y: s.centreY - round(m.earthZ * s.scale) };
}

// A dot of half-side 2: the pixels whose centres lie within its circle.
function dotCovers(dx: number, dy: number): boolean {
    const cx = 2 * dx + 1;
    const cy = 2 * dy + 1;
    return cx * cx + cy * cy <= 16;
}

// The words the view gives for a moon.
function positionLine(i: number, m: Moon): string {
    const x = `${fixedText(Math.abs(m.earthX), 1)} Jupiter radii ${m.earthX < 0 ? 'east' : 'west'}`;
    const z = `${fixedText(Math.abs(m.earthZ), 1)} ${m.earthZ < 0 ? 'toward the Earth' : 'beyond Jupiter'}`;
    return `${moonNames[i + 1]}: ${x}, ${z}`;
}

function topView(page: Page): Locator {
    return dialog(page, topViewCaption);
}

async function chooseFeatures(page: Page, boxes: Record<string, boolean>): Promise<void> {
    await command(page, ...menu.features);
    const form = dialog(page, 'Select Features');
    for (const [name, on] of Object.entries(boxes)) await form.getByRole('checkbox', { name, exact: true }).setChecked(on);
    await form.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(form).toBeHidden();
}

// A choice of the top view's menu, by its path; an item may carry a check mark.
async function topViewCommand(page: Page, ...path: string[]): Promise<void> {
    const view = topView(page);
    for (let i = 0; i < path.length; ++i) {
        const scope = i === 0 ? view.getByRole('menubar') : view.getByRole('menu', { name: path[i - 1], exact: true });
        const name = { name: path[i], exact: true };
        await scope
            .getByRole('menuitem', name)
            .or(scope.getByRole('menuitemradio', name))
            .or(scope.getByRole('menuitemcheckbox', name))
            .click();
    }
}

// The top view's pixels: colour at (x, y).
async function topViewPixels(page: Page): Promise<{ width: number; height: number; at: (x: number, y: number) => Rgb }> {
    const canvas = topView(page).locator('canvas');
    const [width, height] = await canvas.evaluate((c: HTMLCanvasElement) => {
        c.setAttribute('data-test-topview', '');
        return [c.width, c.height];
    });
    const rgba = await readCanvas(page, '[data-test-topview]');
    return { width, height, at: (x, y) => Array.from(rgba.subarray(4 * (y * width + x), 4 * (y * width + x) + 3)) as Rgb };
}

// Every moon's dot at its point, in its ID colour, and not beyond it; the
// ring around `ringed` when given. Returns what is wrong.
async function moonsWrong(page: Page, moons: Moon[], size: Size, except: number[] = []): Promise<string[]> {
    const px = await topViewPixels(page);
    const wrong: string[] = [];
    if (px.width !== sizes[size].width || px.height !== sizes[size].height) return [`the view is ${px.width}x${px.height}`];
    moons.forEach((m, i) => {
        if (except.includes(i + 1)) return;
        const p = topPoint(m, size);
        for (let dy = -3; dy <= 2; ++dy)
            for (let dx = -3; dx <= 2; ++dx) {
                const x = p.x + dx;
                const y = p.y + dy;
                if (x < 0 || y < 0 || x >= px.width || y >= px.height) continue;
                const isMoon = px.at(x, y).join() === idColours[i].join();
                const inDot = dx >= -2 && dx <= 1 && dy >= -2 && dy <= 1 && dotCovers(dx, dy);
                if (inDot !== isMoon) wrong.push(`${moonNames[i + 1]} (${x},${y}) ${px.at(x, y)}`);
            }
    });
    return wrong;
}

test.describe('the top view, the timing dialog and the phenomena', () => {
    test.beforeEach(({}, testInfo) => {
        test.skip(testInfo.project.name !== 'desktop', 'the scenario runs once; the screens test runs at both sizes');
    });

    test('the top view draws the moons where the engine puts them and follows the desk', async ({ page }) => {
        await start(page);
        await run(page, eclipse.date, eclipse.time);
        await expect(topView(page)).toBeHidden();
        await chooseFeatures(page, { 'Show Top View': true, 'Use ID Colors': true });
        const view = topView(page);
        await expect(view).toBeVisible();
        // The desk keeps the keyboard.
        expect(await view.evaluate((d) => d.contains(document.activeElement))).toBe(false);
        await expect(view.getByRole('menuitemradio', { name: 'Large', includeHidden: true })).toHaveAttribute('aria-checked', 'true');

        // Large, then Normal, then one "Next" later: each moon's dot where
        // the second engine puts it. Ganymede is eclipsed, drawn as a dot.
        let sky = await skyAt(page, eclipse.jd);
        expect(sky.moons[2].eclipsed).toBe(true);
        await expect.poll(() => moonsWrong(page, sky.moons, 'Large')).toEqual([]);
        await topViewCommand(page, 'View', 'Normal');
        await expect(view.getByRole('menuitemradio', { name: 'Normal', includeHidden: true })).toHaveAttribute('aria-checked', 'true');
        await expect.poll(() => moonsWrong(page, sky.moons, 'Normal')).toEqual([]);
        const normal = await topViewPixels(page);
        expect(normal.at(151 + 144, 151), "Callisto's orbit").toEqual([128, 128, 128]);
        expect(normal.at(151, 151), 'Jupiter').toEqual([255, 192, 0]);
        // The words say the same, a little after the picture.
        await expect(view.getByRole('status')).toHaveText(sky.moons.map((m, i) => positionLine(i, m)).join('; '));

        await button(page, 'Next').click();
        await expect(readoutPanel(page)).toContainText(`Jul. Day: ${fixedText(eclipse.jd + 1, 5)}`);
        sky = await skyAt(page, eclipse.jd + 1);
        await expect.poll(() => moonsWrong(page, sky.moons, 'Normal')).toEqual([]);

        // Back at the eclipse: "+" for the eclipsed moon, then nothing.
        await command(page, ...menu.setDateTime);
        const when = dialog(page, 'Set Date/Time');
        await when.getByLabel('Observation Date').fill(eclipse.date);
        await when.getByLabel(/Universal Time/).fill(eclipse.time);
        await when.getByRole('button', { name: 'OK', exact: true }).click();
        sky = await skyAt(page, eclipse.jd);
        const g = topPoint(sky.moons[2], 'Normal');
        await topViewCommand(page, 'View', 'Eclipses', 'Show Eclipsed Moon as "+"');
        await expect.poll(() => moonsWrong(page, sky.moons, 'Normal', [3])).toEqual([]);
        let px = await topViewPixels(page);
        for (const [dx, dy] of [[-3, 0], [2, 0], [0, -3], [0, 2], [0, 0]]) expect(px.at(g.x + dx, g.y + dy)).toEqual(idColours[2]);
        expect(px.at(g.x + 1, g.y + 1)).not.toEqual(idColours[2]);
        await expect(view.getByRole('status')).toContainText(`${positionLine(2, sky.moons[2])}, in Jupiter's shadow`);
        await topViewCommand(page, 'View', 'Eclipses', 'Hide Moon on Eclipse');
        await expect.poll(async () => (await topViewPixels(page)).at(g.x, g.y)).not.toEqual(idColours[2]);
        await expect(view.getByRole('status')).toContainText("Ganymede: in Jupiter's shadow, not shown");

        // The moon under the telescope view's crosshair is ringed.
        const moon = [1, 2, 4].find((m) => measurable(sky, m, 0))!;
        const e = moonPixel(sky.moons[moon - 1], 0);
        await placeWithMouse(page, e.x, e.y);
        const t = topPoint(sky.moons[moon - 1], 'Normal');
        await expect.poll(async () => (await topViewPixels(page)).at(t.x + 9, t.y)).toEqual([255, 255, 255]);
        px = await topViewPixels(page);
        expect(px.at(t.x - 10, t.y)).toEqual([255, 255, 255]);
        expect(px.at(t.x + 5, t.y)).not.toEqual([255, 255, 255]);

        // Closing it switches the feature off.
        await topViewCommand(page, 'View', 'Close');
        await expect(view).toBeHidden();
        await command(page, ...menu.features);
        const form = dialog(page, 'Select Features');
        await expect(form.getByRole('checkbox', { name: 'Show Top View', exact: true })).not.toBeChecked();
        await form.getByRole('button', { name: 'Cancel', exact: true }).click();
    });

    test('the timing dialog takes its values in order and refuses what is no time', async ({ page }) => {
        await start(page);
        await run(page, '2024/11/15', '02:00:00');
        const jd = julianDate(2024, 11, 15, 2);
        const panel = readoutPanel(page);
        await command(page, ...menu.timing);
        const form = dialog(page, 'Timing Intervals');
        const boxes = ['Observation Interval (Hrs)', 'Animation Step (Hrs)', 'Animation Timer (MSec)'].map((l) =>
            form.getByRole('textbox', { name: l, exact: true }),
        );
        await expect(boxes[0]).toBeFocused();
        for (const [i, v] of ['24.00', '0.10', '10'].entries()) await expect(boxes[i]).toHaveValue(v);

        // Each refused text is named; the values before it are taken.
        const refused: [number, string, string][] = [
            [1, 'abc', "'abc' is not a number of hours from 0.01 to 87660.00."],
            [1, '0', "'0' is not a number of hours from 0.01 to 87660.00."],
            [2, '0', "'0' is not a whole number of milliseconds from 1 to 65535."],
            [2, '1.5', "'1.5' is not a whole number of milliseconds from 1 to 65535."],
        ];
        const good = ['12', '0.5', '10'];
        await boxes[0].fill(good[0]);
        for (const [field, text, said] of refused) {
            await boxes[field].fill(text);
            await form.getByRole('button', { name: 'OK', exact: true }).click();
            await answer(page, 'Timing Intervals', said, 'OK');
            await expect(boxes[field]).toBeFocused();
            await boxes[field].fill(good[field]);
        }
        // Cancel keeps what a refused OK took: 12 hours a step.
        await form.getByRole('button', { name: 'Cancel', exact: true }).click();
        await expect(panel).toContainText('Data Interval: 12.00 Hrs');
        await button(page, 'Next').click();
        await expect(panel).toContainText(`Jul. Day: ${fixedText(jd + 0.5, 5)}`);

        // Defaults offers the options' values; OK takes them.
        await command(page, ...menu.timing);
        await expect(boxes[0]).toHaveValue('12.00');
        await expect(boxes[1]).toHaveValue('0.50');
        await form.getByRole('button', { name: 'Defaults', exact: true }).click();
        for (const [i, v] of ['24.00', '0.10', '10'].entries()) await expect(boxes[i]).toHaveValue(v);
        await boxes[0].fill('36');
        await boxes[0].press('Enter');
        await expect(form).toBeHidden();
        await expect(panel).toContainText('Data Interval: 36.00 Hrs');
        await button(page, 'Next').click();
        await expect(panel).toContainText(`Jul. Day: ${fixedText(jd + 2, 5)}`);
    });

    test('the phenomena table lists what quorvex-tool lists, and prints', async ({ page }, testInfo) => {
        await start(page);
        await run(page, eclipse.date, eclipse.time);
        const toolLines = (utc: string) =>
            execFileSync(quorvexTool, ['phenomena', '--utc', utc], { encoding: 'utf8' }).replace(/\n$/, '').split('\n');
        await command(page, ...phenomenaMenu);
        const table = dialog(page, 'Planetary Phenomena');
        const list = table.getByRole('listbox', { name: 'Phenomena' });
        await expect(list).toBeFocused();
        const want = toolLines(`${eclipse.date} ${eclipse.time}`);
        expect(want).toHaveLength(7);
        const shown = async () => (await list.getByRole('option').allTextContents()).map((l) => l.replace(/\u00a0/g, ''));
        expect(await shown()).toEqual(want);
        // The menu has Print and Close only.
        await table.getByRole('menuitem', { name: 'List', exact: true }).click();
        await expect(table.getByRole('menu', { name: 'List' }).getByRole('menuitem')).toHaveText(['Print...', 'Close']);
        await page.keyboard.press('Escape');

        // Printed: the header, the caption and the lines, read back from a PDF.
        await page.evaluate(() => {
            window.print = () => undefined;
        });
        await table.getByRole('menuitem', { name: 'List', exact: true }).click();
        await table.getByRole('menuitem', { name: 'Print...', exact: true }).click();
        const pdf = testInfo.outputPath('phenomena.pdf');
        await page.pdf({ path: pdf });
        const pdftotext = ['/usr/bin/pdftotext', '/usr/local/bin/pdftotext'].find((p) => fs.existsSync(p));
        if (pdftotext) {
            const text = execFileSync(pdftotext, ['-layout', pdf, '-'], { encoding: 'utf8' });
            const squeeze = (s: string) => s.replace(/\s+/g, ' ').trim();
            expect(squeeze(text)).toContain('Vera Rubin');
            expect(squeeze(text)).toContain(squeeze(`Planetary Phenomena ${want.join(' ')}`));
        } else {
            testInfo.annotations.push({ type: 'skipped', description: 'pdftotext (poppler-utils) is not installed' });
        }

        // Another date, another table.
        await page.keyboard.press('Escape');
        await command(page, ...menu.setDateTime);
        const when = dialog(page, 'Set Date/Time');
        await when.getByLabel('Observation Date').fill('2031/06/01');
        await when.getByLabel(/Universal Time/).fill('00:00:00');
        await when.getByRole('button', { name: 'OK', exact: true }).click();
        await command(page, ...phenomenaMenu);
        await expect.poll(shown).toEqual(toolLines('2031/06/01 00:00:00'));
    });
});

test('the top view, the timing dialog and the phenomena pass axe at this size', async ({ page }) => {
    await start(page);
    await run(page, eclipse.date, eclipse.time);
    await chooseFeatures(page, { 'Show Top View': true, 'Use ID Colors': true });
    const view = topView(page);
    await expect(view).toBeVisible();
    await page.waitForTimeout(600); // the words follow the picture
    // Where the window does not fit beside the desk it is below it.
    const inSight = () => view.evaluate((d) => d.scrollIntoView({ block: 'end' }));
    await inSight();
    await checkScreen(page, 'topview-large', 'the top view, Large');
    await topViewCommand(page, 'View', 'Normal');
    await view.getByText('Moon positions').click();
    await inSight();
    await checkScreen(page, 'topview-normal', 'the top view, Normal, with its positions');
    await expectEveryControlReachableByTab(page, view, 'the top view');
    await view.getByRole('menuitem', { name: 'View', exact: true }).click();
    await checkScreen(page, 'topview-menu', 'the top view menu');
    await page.keyboard.press('Escape');

    await command(page, ...menu.timing);
    await expect(dialog(page, 'Timing Intervals')).toBeVisible();
    await checkScreen(page, 'timing', 'the timing dialog');
    await expectEveryControlReachableByTab(page, dialog(page, 'Timing Intervals'), 'the timing dialog');
    await page.keyboard.press('Escape');

    await command(page, ...phenomenaMenu);
    await expect(dialog(page, 'Planetary Phenomena')).toBeVisible();
    await checkScreen(page, 'phenomena', 'the phenomena table');
    await expectEveryControlReachableByTab(page, dialog(page, 'Planetary Phenomena'), 'the phenomena table');
});
