// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the review list as the browser prints it: the page header (the
// date, the table, the group's names), the window's caption and the list's
// lines, black on white, and nothing of the page's windows and controls.
import { expect, test } from '@playwright/test';
import { button, command, dialog, leaveWhenAsked, menu, normalise, placeWithMouse, run, start } from './support/app';
import { measurable, moonPixel, skyAt } from './support/core';
import { holdPrints, pdfInk, pdfText } from './support/pdf';
import { julianDate } from './support/texts';

test('the review list prints its header and lines, black on white, without the page’s controls', async ({ page }) => {
    leaveWhenAsked(page);
    await start(page, { names: ['Vera Rubin', 'Cecilia Payne', '', 'Annie Cannon'], table: '3' });
    await run(page, '2024/11/15', '02:00:00');
    const sky = await skyAt(page, julianDate(2024, 11, 15, 2));
    for (const moon of [1, 2, 3, 4].filter((m) => measurable(sky, m, 0)).slice(0, 2)) {
        const p = moonPixel(sky.moons[moon - 1], 0);
        await placeWithMouse(page, p.x, p.y);
        await button(page, 'Record').click();
    }
    await button(page, 'Next').click();
    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    const lines = (await list.getByRole('option').allInnerTexts()).filter((l) => l.trim() !== '');
    expect(lines.length).toBeGreaterThan(4);

    const prints = await holdPrints(page);
    await list.getByRole('menuitem', { name: 'List', exact: true }).click();
    await list.getByRole('menuitem', { name: 'Print...', exact: true }).click();
    expect(await prints()).toBe(1);
    expect(await page.title()).toBe('ORVA Exercise "Quorvex" - Vera Rubin');

    const file = test.info().outputPath('review.pdf');
    const text = await pdfText(page, { file });
    const printed = text.split('\n').map(normalise);
    // The header: date and time first, then the table and the names given.
    expect(printed[0]).toMatch(/^\d\d-\d\d-\d{4} \d\d:\d\d:\d\d Quorvex$/);
    for (const want of ['Laboratory Table Number 3', 'Vera Rubin', 'Cecilia Payne', 'Annie Cannon', 'Review/Edit/Print Measurements'])
        expect(printed).toContain(want);
    // Every line of the list, whole (none cut at the page's edge), in order.
    let at = printed.indexOf('Review/Edit/Print Measurements');
    for (const line of lines) {
        const found = printed.indexOf(normalise(line), at + 1);
        expect(found, `printed line "${normalise(line)}"`).toBeGreaterThan(at);
        at = found;
    }
    // Nothing of the desk, its menus, windows or buttons.
    for (const control of ['File', 'Next', 'Record', 'Cont.', '100X', 'Search...', 'Print...', 'Close', 'Jul. Day'])
        expect(normalise(text)).not.toContain(control);
    // Black print on white paper.
    const ink = pdfInk(file);
    expect(ink.coloured).toBe(0);
    expect(ink.black + ink.grey).toBeGreaterThan(0);
    expect(ink.white).toBeGreaterThan(20 * (ink.black + ink.grey));
});
