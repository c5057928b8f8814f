// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's rules where the page could most easily go its own way: the
// read-outs' digits (a reading that lies halfway rounds to the even digit),
// the identification box, the entry form's E/W and "*", a box that cannot be
// read, the pending record across a reload, the default hotlist, and the
// messages for files refused, empty or read in part.
import { expect, test } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import {
    answer,
    button,
    command,
    dialog,
    leaveWhenAsked,
    loadFile,
    menu,
    normalise,
    placeWithMouse,
    readoutPanel,
    run,
    start,
    telescopeView,
} from './support/app';
import { hotListLines, measurable, moonPixel, skyAt } from './support/core';
import { encodeDatRecord } from './support/datfile';
import { entryBoxText, fixedText, julianDate, recordedValue, reviewLine } from './support/texts';

const boxes = ['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'];

test('read-outs, identification and the entry form follow the desktop', async ({ page }) => {
    await start(page);
    await run(page, '2024/11/15', '02:00:00');
    const panel = readoutPanel(page);
    const record = button(page, 'Record');
    await expect(record).toBeDisabled();

    // Readings in Jupiter diameters, east negative, halves to even.
    const readings: [string, number, number, string][] = [
        ['100X', 294, 100, 'X = 1.00E (Jup. Diam.)'],
        ['200X', 319, 163, 'X = 0.12W (Jup. Diam.)'], // 0.125
        ['200X', 309, 40, 'X = 0.12E (Jup. Diam.)'], // -0.125
        ['400X', 324, 163, 'X = 0.12W (Jup. Diam.)'], // 0.125
        ['400X', 334, 10, 'X = 0.25W (Jup. Diam.)'],
        ['300X', 314, 163, 'X = 0.00W (Jup. Diam.)'],
    ];
    for (const [mag, x, y, text] of readings) {
        await button(page, mag).click();
        // Another magnification redraws: the read-outs go, "Record" waits.
        await expect(panel).not.toContainText(/X: \d+, Y: \d+/);
        await expect(record).toBeDisabled();
        await placeWithMouse(page, x, y);
        await expect(panel).toContainText(`X: ${x}, Y: ${y}`);
        await expect(panel).toContainText(text);
    }
    // Off every moon: try again, and nothing opens.
    await placeWithMouse(page, 5, 5);
    await record.click();
    await answer(page, 'Try Again!', 'Cursor is not accurately centered on moon!', 'OK');
    await expect(dialog(page, 'Record/Edit Measurements')).toBeHidden();

    // A moon is identified anywhere in its box: three pixels up and left, one
    // down and right (to its dot's edge at 400X).
    const jd = julianDate(2024, 11, 15, 2);
    const sky = await skyAt(page, jd);
    await button(page, '100X').click();
    const moon = [1, 2, 3, 4].find((m) => measurable(sky, m, 0))!;
    const p = moonPixel(sky.moons[moon - 1], 0);
    const names = ['', 'I. Io', 'II. Europa', 'III. Ganymede', 'IV. Callisto'];
    for (const [dx, dy, found] of [
        [-3, -3, true],
        [1, 1, true],
        [2, 0, false],
        [0, -4, false],
    ] as const) {
        await placeWithMouse(page, p.x + dx, p.y + dy);
        await expect(panel).toContainText(`X: ${p.x + dx}, Y: ${p.y + dy}`);
        if (found) await expect(panel).toContainText(names[moon]);
        else for (const n of names.slice(1)) await expect(panel).not.toContainText(n);
    }

    // Recorded: the moon's box filled in; a box that cannot be read is named,
    // and "Next" still steps the clock; the corrected value goes into that
    // instant's record, with "*" removing it from the analysis.
    await placeWithMouse(page, p.x, p.y);
    await record.click();
    const entry = dialog(page, 'Record/Edit Measurements');
    await expect(entry.getByLabel(boxes[moon - 1])).toHaveValue(entryBoxText(Math.fround((p.x - 314) / 20)));
    await entry.getByLabel(boxes[0]).fill('1.25 w');
    await entry.getByLabel(boxes[1]).fill('0.8');
    await entry.getByLabel(boxes[2]).fill('');
    await entry.getByLabel(boxes[3]).fill('');
    await button(page, 'Next').click();
    await answer(page, 'Invalid Data!', 'Measured value for Europa is incorrect!', 'OK');
    await expect(panel).toContainText(`Jul. Day: ${fixedText(jd + 1, 5)}`);
    await expect(entry.getByLabel(boxes[1])).toBeFocused();
    await entry.getByLabel(boxes[1]).fill('0.8e*');
    await entry.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(entry).toBeHidden();
    await button(page, 'Next').click();
    await expect(panel).toContainText(`Jul. Day: ${fixedText(jd + 2, 5)}`);

    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    const lines = (await list.getByRole('option').allInnerTexts()).map(normalise);
    expect(lines.slice(0, 3)).toEqual([
        'Measurement unit is Jupiter diameters.',
        'East is negative (-).',
        '("*" - Data point removed from sine curve analysis.)',
    ]);
    expect(lines.slice(5)).toEqual([
        normalise(reviewLine(jd, [Math.fround(1.25), Math.fround(-0.8), null, null], [true, false, true, true])),
    ]);
});

test('a recorded value survives a reload before it is stored', async ({ page }) => {
    leaveWhenAsked(page);
    await start(page);
    await run(page, '2024/11/15', '02:00:00');
    const jd = julianDate(2024, 11, 15, 2);
    const sky = await skyAt(page, jd);
    const moon = [1, 2, 3, 4].find((m) => measurable(sky, m, 0))!;
    const p = moonPixel(sky.moons[moon - 1], 0);
    await placeWithMouse(page, p.x, p.y);
    await button(page, 'Record').click();
    await expect(dialog(page, 'Record/Edit Measurements')).toBeVisible();
    // A moment later the tab is reloaded (or closed and opened again).
    await page.waitForTimeout(500);
    await page.reload();
    await expect(telescopeView(page).first()).toBeVisible();
    await expect(readoutPanel(page)).toContainText(`Jul. Day: ${fixedText(jd, 5)}`);
    // The entry form comes back open with the reading, as it was; like the
    // desktop's, it holds the value until OK (or Next) takes it into the table.
    const reading = Math.fround((p.x - 314) / 20);
    const entry = dialog(page, 'Record/Edit Measurements');
    await expect(entry).toBeVisible();
    await expect(entry.getByLabel(boxes[moon - 1])).toHaveValue(entryBoxText(reading));
    await entry.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(entry).toBeHidden();
    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    const values: (number | null)[] = [null, null, null, null];
    values[moon - 1] = recordedValue(reading);
    await expect(list.getByRole('option')).toHaveCount(6);
    expect(normalise((await list.getByRole('option').allInnerTexts())[5])).toBe(normalise(reviewLine(jd, values)));
});

test('the default hotlist, and the files the page refuses, finds empty or reads in part', async ({ page }, testInfo) => {
    await start(page);
    // The date/time form offers the hotlist that comes with the program.
    await command(page, ...menu.run);
    const when = dialog(page, 'Set Date/Time');
    await when.getByRole('menuitem', { name: 'Hotlist', exact: true }).click();
    await when.getByRole('menuitem', { name: 'Access Hotlist...', exact: true }).click();
    const hot = dialog(page, 'Select Date/Time for Observation');
    const lines = await hotListLines(page, '/data/HotDates.htl');
    expect(lines.length).toBeGreaterThan(1);
    await expect(hot.getByRole('option')).toHaveText(lines, { useInnerText: true });
    await hot.getByRole('option').nth(1).click();
    await hot.getByRole('menuitem', { name: 'Selection', exact: true }).click();
    await hot.getByRole('menuitem', { name: 'Choose Selection', exact: true }).click();
    await expect(hot).toBeHidden();
    const [date, time] = lines[1].split(' ');
    await expect(when.getByLabel('Observation Date')).toHaveValue(date);
    await expect(when.getByLabel(/Universal Time/)).toHaveValue(time);
    await when.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(readoutPanel(page)).toContainText(`Jul. Day: `);

    // One night recorded, so that there is a table to save and to merge into.
    await command(page, ...menu.setDateTime);
    await when.getByLabel('Observation Date').fill('2024/11/15');
    await when.getByLabel(/Universal Time/).fill('02:00:00');
    await when.getByRole('button', { name: 'OK', exact: true }).click();
    const jd = julianDate(2024, 11, 15, 2);
    const sky = await skyAt(page, jd);
    const moon = [1, 2, 3, 4].find((m) => measurable(sky, m, 0))!;
    const p = moonPixel(sky.moons[moon - 1], 0);
    await placeWithMouse(page, p.x, p.y);
    await button(page, 'Record').click();
    await button(page, 'Next').click();

    // A name of neither format is refused, for a save and for a load.
    await command(page, ...menu.saveCsv);
    const save = dialog(page, 'Save Measurements');
    await save.getByLabel('File name:').fill('lab1.txt');
    await save.getByRole('button', { name: 'Save', exact: true }).click();
    await answer(page, 'Cannot Save File!', 'File format (.txt) is invalid!  Must be .CSV', 'OK');
    const folder = testInfo.outputPath('files');
    fs.mkdirSync(folder, { recursive: true });
    const file = (name: string, bytes: Buffer) => {
        fs.writeFileSync(path.join(folder, name), bytes);
        return path.join(folder, name);
    };
    await loadFile(page, file('notes.txt', Buffer.from('2460685.5,1,2,3,4\r\n')));
    await answer(page, 'Cannot Load File!', 'File format (.txt) is invalid!  Must be .DAT or .CSV.', 'OK');
    // A file without a record changes nothing, merged or not.
    await loadFile(page, file('empty.DAT', Buffer.alloc(0)));
    await answer(page, 'Merge Data?', null, 'Yes');
    await answer(page, 'No Data Loaded', 'empty.DAT contains no valid data!', 'OK');
    // A value that is no number is left out, and so is a record cut short; both are said.
    const good = { jd: julianDate(2025, 1, 10, 3), offsets: [1.5, 100, 100, -2.25], included: [true, true, true, false] };
    const odd = { jd: julianDate(2025, 1, 11, 3), offsets: [Number.NaN, 0.5, 100, 100], included: [true, true, true, true] };
    await loadFile(page, file('odd.DAT', Buffer.concat([encodeDatRecord(good), encodeDatRecord(odd), Buffer.alloc(5)])));
    await answer(page, 'Merge Data?', null, 'Yes');
    await answer(
        page,
        'Data Loaded',
        'Data loaded from odd.DAT.\n\nMerged with existing data.\n\n1 unreadable value was left out.\n\nThe file ends with an incomplete record, which was not loaded.',
        'OK',
    );
    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    const shown = (await list.getByRole('option').allInnerTexts()).slice(5).map(normalise);
    expect(shown).toHaveLength(3);
    expect(shown.slice(1)).toEqual([
        normalise(reviewLine(good.jd, [1.5, null, null, -2.25], good.included)),
        normalise(reviewLine(odd.jd, [null, 0.5, null, null])),
    ]);
});
