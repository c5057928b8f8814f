// SPDX-License-Identifier: GPL-3.0-or-later
// The group's hotlist: the instructor's dates (the settings file's) with the
// group's own put, edited and deleted, kept in the browser per log-in name
// through a reload and the end of the exercise, printed, and saved as the
// hotlist file the program reads.
import { expect, test, type Page } from '@playwright/test';
import fs from 'node:fs';
import { answer, checkScreen, command, dialog, logIn, menu, message } from './support/app';
import { loadCore } from './support/core';
import { holdPrints, pdfText } from './support/pdf';

// The settings are the route's, which a service worker would pass by.
test.use({ serviceWorkers: 'block' });

const hotCaption = 'Select Date/Time for Observation';
// The instructor's list, in UT; the page shows it on the clock five hours behind.
const settings = {
    EditMode: true,
    ZoneOffset: 5,
    HotList: [
        { Instant: '2026/12/09 21:00:00', Comment: 'Io transit' },
        { Instant: '2024/11/15 02:00:00', Comment: 'Four moons apart' },
    ],
};
const instructors = ['2024/11/14 21:00:00  Four moons apart', '2026/12/09 16:00:00  Io transit'];

async function hotlistItem(page: Page, item: string): Promise<void> {
    const when = dialog(page, /^(Set|Edit) Date\/Time$/);
    await when.getByRole('menuitem', { name: 'Hotlist', exact: true }).click();
    await when.getByRole('menuitem', { name: item, exact: true }).click();
}

async function selectionItem(page: Page, item: string): Promise<void> {
    const hot = dialog(page, hotCaption);
    await hot.getByRole('menubar').getByRole('menuitem', { name: 'Selection', exact: true }).click();
    await hot.getByRole('menu', { name: 'Selection', exact: true }).getByRole('menuitem', { name: item, exact: true }).click();
}

// The hotlist window's lines, opened from the date/time form.
async function openHotlist(page: Page): Promise<string[]> {
    await hotlistItem(page, 'Access Hotlist...');
    const hot = dialog(page, hotCaption);
    await expect(hot).toBeVisible();
    return hot.getByRole('option').allInnerTexts();
}

// File > Exit with nothing unsaved: the reminder's OK ends it and the page starts afresh.
async function endExercise(page: Page): Promise<void> {
    await command(page, 'File', 'Exit');
    const reloaded = page.waitForEvent('load');
    await message(page, '** Exercise Finished? **').getByRole('button', { name: 'OK', exact: true }).click();
    await reloaded;
    await expect(page.getByRole('menubar')).toBeVisible();
}

test('the group’s hotlist: put, comment, edit, delete and undo, printed and saved, kept per group', async ({ page }, testInfo) => {
    await page.route('**/quorvex-options.json', (r) => r.fulfill({ contentType: 'application/json', body: JSON.stringify(settings) }));
    await page.goto('/');
    await logIn(page, { names: ['Vera Rubin'], table: '3' });
    await command(page, ...menu.run);
    const when = dialog(page, 'Set Date/Time');
    // "Save Updated Hotlist..." is offered once the list has changed.
    const saveUpdated = when.getByRole('menuitem', { name: 'Save Updated Hotlist...', exact: true, includeHidden: true });
    await expect(saveUpdated).toHaveAttribute('aria-disabled', 'true');

    // The date typed (UT) with its comment goes on the list on the clock.
    await when.getByLabel('Observation Date').fill('2025/01/10');
    await when.getByLabel(/Universal Time/).fill('03:00:00');
    await when.getByRole('textbox', { name: 'Comment', exact: true }).fill('Io shadow transit '.repeat(4));
    await hotlistItem(page, 'Put Date/Time on Hotlist...');
    await expect(saveUpdated).not.toHaveAttribute('aria-disabled', 'true');
    const mine = '2025/01/09 22:00:00  ' + 'Io shadow transit '.repeat(4).slice(0, 50);
    expect(await openHotlist(page)).toEqual([instructors[0], mine, instructors[1]]);
    const hot = dialog(page, hotCaption);
    await expect(hot.getByRole('option').nth(1)).toHaveAttribute('aria-selected', 'true');
    await checkScreen(page, 'hotlist', 'the hotlist window');

    // Edit: the entry's own clock value and comment, changed in place.
    await selectionItem(page, 'Edit Selection...');
    const edit = dialog(page, 'Edit Date/Time');
    await expect(edit.getByLabel('Observation Date')).toHaveValue('2025/01/09');
    await expect(edit.getByLabel(/Universal Time/)).toHaveValue('22:00:00');
    await expect(edit.getByRole('menubar')).toHaveCount(0);
    await checkScreen(page, 'hotlist-edit', 'the hotlist’s "Edit Date/Time"');
    await edit.getByRole('textbox', { name: 'Comment', exact: true }).fill('Io shadow, egress');
    await edit.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(hot.getByRole('option')).toHaveText([instructors[0], '2025/01/09 22:00:00  Io shadow, egress', instructors[1]], {
        useInnerText: true,
    });

    // Delete from the pop-up menu of the first line, undo, and delete by key.
    await hot.getByRole('option').first().click();
    await hot.getByRole('option').first().click({ button: 'right' });
    const popup = hot.getByRole('menu', { name: 'Selection', exact: true }).last();
    await expect(popup.getByRole('menuitem', { name: 'Choose Selection', exact: true })).toBeFocused();
    await checkScreen(page, 'hotlist-popup', 'the hotlist’s pop-up menu');
    // Escape closes the pop-up alone; the menu key opens it again.
    await page.keyboard.press('Escape');
    await expect(popup).toBeHidden();
    await expect(hot.getByRole('listbox')).toBeFocused();
    await page.keyboard.press('Shift+F10');
    await expect(popup.getByRole('menuitem', { name: 'Choose Selection', exact: true })).toBeFocused();
    await popup.getByRole('menuitem', { name: 'Delete Selection', exact: true }).click();
    await answer(page, 'Confirm', 'Delete Highlighted Entry from List?', 'Yes');
    await expect(hot.getByRole('option')).toHaveCount(2);
    await selectionItem(page, 'Undo Edit/Delete');
    await expect(hot.getByRole('option')).toHaveCount(3);
    await expect(hot.getByRole('option').first()).toHaveAttribute('aria-selected', 'true');
    await hot.getByRole('listbox').press('Delete');
    await answer(page, 'Confirm', 'Delete Highlighted Entry from List?', 'Yes');
    const kept = ['2025/01/09 22:00:00  Io shadow, egress', instructors[1]];
    await expect(hot.getByRole('option')).toHaveText(kept, { useInnerText: true });

    // Print: in Edit Mode the date alone heads the caption and the lines.
    const prints = await holdPrints(page);
    await hot.getByRole('menuitem', { name: 'List', exact: true }).click();
    await hot.getByRole('menuitemcheckbox', { name: 'Print...', exact: true }).click();
    expect(await prints()).toBe(1);
    const printed = (await pdfText(page)).replace(/[ \t]+/g, ' ');
    expect(printed).toMatch(/^\s*\d\d-\d\d-\d{4} \d\d:\d\d:\d\d\s*\n/);
    expect(printed).toContain(hotCaption);
    for (const line of kept) expect(printed).toContain(line.replace(/ +/g, ' '));
    expect(printed).not.toContain('Vera Rubin');
    expect(printed).not.toContain('Laboratory Table');
    await hot.getByRole('menuitem', { name: 'List', exact: true }).click();
    await expect(hot.getByRole('menuitemcheckbox', { name: 'Print...', exact: true })).toHaveAttribute('aria-checked', 'true');

    // Save List: the hotlist file the program reads, as a download.
    const download = page.waitForEvent('download');
    await hot.getByRole('menuitem', { name: 'Save List', exact: true }).click();
    const save = dialog(page, 'Save Hotlist File');
    await expect(save.getByLabel('File name:')).toHaveValue('HotDates.htl');
    await expect(save).toContainText('Hot List Files (*.HTL)');
    await checkScreen(page, 'hotlist-save', 'the hotlist’s save form');
    await save.getByLabel('File name:').fill('mine');
    await save.getByRole('button', { name: 'Save', exact: true }).click();
    const file = testInfo.outputPath((await download).suggestedFilename());
    await (await download).saveAs(file);
    expect(file.endsWith('mine.HTL')).toBe(true);
    await answer(page, 'Hotlist File Saved', 'Hotlist saved in mine.HTL', 'OK');
    await loadCore(page);
    const fileLines = await page.evaluate((bytes) => {
        const core = (window as unknown as { __quorvexTestCore: any }).__quorvexTestCore;
        return core.parseHotList(new Uint8Array(bytes)).entries.map((e: { editLine: string }) => e.editLine) as string[];
    }, Array.from(fs.readFileSync(file)));
    expect(fileLines).toEqual(kept);

    // Choosing a date fills the form in UT, with its comment.
    await hot.getByRole('option').first().dblclick();
    await expect(hot).toBeHidden();
    await expect(when.getByLabel('Observation Date')).toHaveValue('2025/01/10');
    await expect(when.getByLabel(/Universal Time/)).toHaveValue('03:00:00');
    await expect(when.getByRole('textbox', { name: 'Comment', exact: true })).toHaveValue('Io shadow, egress');
    await when.getByRole('button', { name: 'OK', exact: true }).click();

    // A reload brings the group's list back.
    await page.reload();
    await command(page, ...menu.setDateTime);
    expect(await openHotlist(page)).toEqual(kept);
    await hot.press('Escape');
    await when.getByRole('button', { name: 'Cancel', exact: true }).click();

    // Another group starts from the instructor's list; the first group's
    // list outlives the end of its exercise.
    await endExercise(page);
    await logIn(page, { names: ['Henrietta Leavitt'], table: '4' });
    await command(page, ...menu.run);
    expect(await openHotlist(page)).toEqual(instructors);
    await hot.press('Escape');
    await when.getByRole('button', { name: 'OK', exact: true }).click();
    await endExercise(page);
    await logIn(page, { names: ['Vera Rubin'], table: '3' });
    await command(page, ...menu.run);
    expect(await openHotlist(page)).toEqual(kept);
});
