// SPDX-License-Identifier: GPL-3.0-or-later
// A whole lab at a lab computer (1280×800, mouse and keyboard), as a group goes
// through it: log in, run from a chosen date, measure the four moons on five
// nights (three with the mouse, two with the keyboard alone), animate to an
// eclipse stop, save both files, reload the page and find the work, load the
// files back (picker and drop), review, edit, delete and undo. Each screen
// and dialog is checked with axe and photographed on the way.
import { expect, test, type Page } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import {
    announced,
    answer,
    button,
    checkScreen,
    command,
    commandByKeyboard,
    dialog,
    dropFile,
    expectEveryControlReachableByTab,
    leaveWhenAsked,
    loadFile,
    menu,
    message,
    normalise,
    placeWithMouse,
    readoutPanel,
    saveFile,
    steer,
    tabTo,
    telescopeView,
} from './support/app';
import { crosshairShown } from './support/observe';
import { firstEclipseStop, measurable, moonPixel, skyAt } from './support/core';
import { decodeDat } from './support/datfile';
import { toolConvert } from './support/paths';
import {
    cursorReading,
    dateLabel,
    entryBoxText,
    fixedText,
    julianDate,
    moonIds,
    readingText,
    recordedValue,
    reviewLine,
} from './support/texts';

const group = { names: ['Ada Lovelace', 'Grace Hopper'] as [string, string], table: '7' };
const first = julianDate(2025, 1, 10, 3);
const nights = 5;
const keyboardFrom = 3; // nights 0..2 by mouse, 3..4 by keyboard


// The record lines of the review list, white space collapsed.
async function reviewLines(page: Page): Promise<string[]> {
    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    await expect(list).toBeVisible();
    const lines = await list.getByRole('option').allInnerTexts();
    await list.press('Escape');
    await expect(list).toBeHidden();
    return lines.slice(5).map(normalise);
}

test('a group observes five nights, animates to an eclipse, saves, reloads, loads and edits', async ({ page }, testInfo) => {
    test.setTimeout(900_000);
    const folder = testInfo.outputPath('files');
    fs.mkdirSync(folder, { recursive: true });

    await page.goto('/');
    await expect(page.getByRole('menubar')).toBeVisible();
    await checkScreen(page, 'title', 'the title screen');

    // --- Log-in, with its rules: nothing typed asks; "No" keeps the form.
    await command(page, ...menu.logIn);
    const login = dialog(page, 'Student Accounting');
    await expect(login).toBeVisible();
    await expect(login).toContainText('Enter Student Name(s) (Firstname...Lastname)');
    await expect(login.getByLabel('Student #1:', { exact: true })).toBeFocused();
    await checkScreen(page, 'login', 'the log-in form');
    await expectEveryControlReachableByTab(page, login, 'the log-in form');
    await login.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(message(page, 'No Entry!')).toHaveAccessibleDescription("You Didn't Enter Anything!");
    await checkScreen(page, 'message-no-entry', 'the "No Entry!" message');
    await answer(page, 'No Entry!', null, 'Cancel');
    await expect(login).toBeVisible();
    await login.getByLabel('Student #1:', { exact: true }).fill(group.names[0]);
    await login.getByLabel('Student #2:', { exact: true }).fill(group.names[1]);
    await login.getByLabel('Laboratory Table Number:', { exact: true }).fill(group.table);
    await login.getByRole('button', { name: 'OK', exact: true }).click();
    await answer(page, 'Login Completed?', 'Have You Finished Logging In?', 'No');
    await expect(login).toBeVisible();
    await login.getByRole('button', { name: 'OK', exact: true }).click();
    await checkScreen(page, 'message-login-completed', 'the "Login Completed?" question');
    await answer(page, 'Login Completed?', 'Have You Finished Logging In?', 'Yes');
    await expect(login).toBeHidden();

    // --- Run: the date/time form refuses a date that is none, then takes one.
    await command(page, ...menu.run);
    const when = dialog(page, 'Set Date/Time');
    await expect(when).toBeVisible();
    await checkScreen(page, 'date-time', 'the date/time form');
    await expectEveryControlReachableByTab(page, when, 'the date/time form');
    await when.getByLabel('Observation Date').fill('2025/13/45');
    await when.getByLabel(/Universal Time/).fill('03:00:00');
    await when.getByRole('button', { name: 'OK', exact: true }).click();
    await answer(page, 'Set Date/Time', "'2025/13/45 03:00:00' is not a valid date and time", 'OK');
    await when.getByLabel('Observation Date').fill('2025/01/10');
    await when.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(when).toBeHidden();

    const view = telescopeView(page).first();
    await expect(view).toBeVisible();
    for (const name of ['100X', '200X', '300X', '400X', 'Next', 'Cont.', 'Record'])
        await expect(button(page, name)).toBeVisible();
    await expect(button(page, 'Record')).toBeDisabled();
    const panel = readoutPanel(page);
    await expect(panel).toContainText(dateLabel(2025, 1, 10));
    await expect(panel).toContainText('UT:  3 Hrs, 00 Min, 00 Sec');
    await expect(panel).toContainText('Jul. Day: 2460685.62500');
    await expect(panel).toContainText('Data Interval: 24.00 Hrs');
    await checkScreen(page, 'view-100X', 'the telescope view');
    await expectEveryControlReachableByTab(page, page.locator('body'), 'the telescope view');

    // --- Five nights, each moon at a magnification of its own.
    const expected: (number | null)[][] = [];
    let keyboardStarted = false;
    for (let night = 0; night < nights; ++night) {
        const jd = first + night;
        const sky = await skyAt(page, jd);
        const keyboard = night >= keyboardFrom;
        const values: (number | null)[] = [null, null, null, null];
        for (let moon = 1; moon <= 4; ++moon) {
            let mag = (night + moon) % 4;
            if (!measurable(sky, moon, mag)) mag = 0; // the widest field shows every moon
            if (!measurable(sky, moon, mag)) continue;
            const where = `night ${night}, ${moonIds[moon]} at ${100 * (mag + 1)}X`;
            const p = moonPixel(sky.moons[moon - 1], mag);
            if (keyboard) {
                if (!keyboardStarted) {
                    // Reached with Tab for the first time: the crosshair on Jupiter's centre.
                    await tabTo(page, view);
                    await expect(panel).toContainText('X: 314, Y: 163');
                    await expect(panel).toContainText('X = 0.00W (Jup. Diam.)');
                    await expect(button(page, 'Record')).toBeEnabled();
                    keyboardStarted = true;
                }
                await tabTo(page, button(page, `${100 * (mag + 1)}X`));
                await page.keyboard.press('Space');
                await tabTo(page, view);
                await steer(page, await crosshairShown(page, where), p);
            } else {
                await button(page, `${100 * (mag + 1)}X`).click();
                await placeWithMouse(page, p.x, p.y);
            }
            const reading = cursorReading(p.x, mag);
            await expect(panel, where).toContainText(`X: ${p.x}, Y: ${p.y}`);
            await expect(panel, where).toContainText(moonIds[moon]);
            await expect(panel, where).toContainText(readingText(reading, p.x - 314));
            // The reading and the moon reach a screen reader.
            const said = await announced(page);
            expect(said, where).toContain(moonIds[moon]);
            expect(said, where).toContain(readingText(reading, p.x - 314));

            const entry = dialog(page, 'Record/Edit Measurements');
            if (keyboard) {
                await page.keyboard.press('Enter'); // "Record"
                await expect(entry).toBeVisible();
                await expect(entry.getByLabel(`${['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'][moon - 1]}`)).toHaveValue(
                    entryBoxText(reading),
                );
                await page.keyboard.press('Enter'); // the value as filled in, confirmed
                await expect(entry).toBeHidden();
                await expect(view).toBeFocused();
            } else {
                await button(page, 'Record').click();
                await expect(entry).toBeVisible();
                await expect(entry.getByLabel(['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'][moon - 1])).toHaveValue(
                    entryBoxText(reading),
                );
            }
            if (night === 0 && moon === 1) {
                await expect(entry).toContainText('Julian Day: 2460685.62500');
                await expect(entry).toContainText('01-10-2025   3Hr 00Min 00Sec');
                await expect(entry).toContainText('(Enter Jupiter Diameters "E"ast or "W"est)');
                await checkScreen(page, 'entry-form', 'the entry form');
                await expectEveryControlReachableByTab(page, entry, 'the entry form');
            }
            values[moon - 1] = recordedValue(reading);
        }
        expected.push(values);
        if (keyboard) {
            await tabTo(page, button(page, 'Next'));
            await page.keyboard.press('Space');
        } else {
            await button(page, 'Next').click();
        }
        await expect(panel).toContainText(`Jul. Day: ${fixedText(jd + 1, 5)}`);
    }
    // Off every moon, "Record" asks to try again.
    await placeWithMouse(page, 5, 5);
    await button(page, 'Record').click();
    await checkScreen(page, 'message-try-again', 'the "Try Again!" message');
    await answer(page, 'Try Again!', 'Cursor is not accurately centered on moon!', 'OK');
    const measuredCount = expected.flat().filter((v) => v !== null).length;
    expect(measuredCount).toBeGreaterThan(12);

    // --- The review list holds the five nights as measured; it opens from the keyboard too.
    const wantLines = expected.map((v, n) => normalise(reviewLine(first + n, v)));
    expect(await reviewLines(page)).toEqual(wantLines);
    await commandByKeyboard(page, ...menu.review);
    const reviewWindow = dialog(page, 'Review/Edit/Print Measurements');
    await expect(reviewWindow.getByRole('listbox')).toBeFocused();
    await page.keyboard.press('Escape');
    await expect(reviewWindow).toBeHidden();

    // --- The animation, run until a moon is seen eclipsed; Cancel stops it.
    await command(page, ...menu.features);
    const features = dialog(page, 'Select Features');
    await expect(features).toBeVisible();
    await checkScreen(page, 'features', 'the features dialog');
    await expectEveryControlReachableByTab(page, features, 'the features dialog');
    await features.getByRole('checkbox', { name: 'Animation', exact: true }).check();
    await features.getByRole('checkbox', { name: 'Stop Animation on Eclipse', exact: true }).check();
    await features.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(features).toBeHidden();
    await expect(panel).toContainText('Animation Step: 0.10 Hrs');
    await button(page, '100X').click();
    const stop = await firstEclipseStop(page, first + nights, 0.1, 2000, 0);
    expect(stop, 'an eclipse within 200 hours').not.toBeNull();
    await button(page, 'Cont.').click();
    await expect(button(page, 'Next')).toBeDisabled();
    const stopMessage = message(page, 'Animation Stop on Eclipse');
    await expect(stopMessage).toBeVisible({ timeout: 120_000 });
    await expect(stopMessage).toHaveAccessibleDescription(
        `Satellite ${stop!.moon} is Eclipsed! Press "OK" to Continue Animation.`,
    );
    await expect(panel).toContainText(stop!.jdLabel);
    await checkScreen(page, 'message-eclipse-stop', 'the eclipse stop');
    await stopMessage.getByRole('button', { name: 'Cancel', exact: true }).click();
    await expect(stopMessage).toBeHidden();
    await expect(button(page, 'Next')).toBeEnabled();
    await page.waitForTimeout(300);
    await expect(panel).toContainText(stop!.jdLabel); // stopped there

    // --- Both files, byte for byte what the desktop writes for the same table.
    const csv = await saveFile(page, 'CSV', 'lab1', folder, () => checkScreen(page, 'save', 'the save form'));
    const dat = await saveFile(page, 'DAT', 'lab1', folder);
    expect(csv.name).toBe('lab1.CSV');
    expect(dat.name).toBe('lab1.DAT');
    expect(dat.bytes.length).toBe(32 * nights);
    const records = decodeDat(dat.bytes);
    records.forEach((r, n) => {
        expect(r.jd).toBeCloseTo(first + n, 8);
        expect(dat.bytes[32 * n + 10]).toBe(0);
        expect(dat.bytes[32 * n + 11]).toBe(0);
        r.offsets.forEach((v, m) => expect(v, `night ${n} moon ${m + 1}`).toBe(expected[n][m] ?? 100));
        expect(r.included).toEqual([true, true, true, true]);
    });
    const datFromCsv = toolConvert(csv.path, path.join(folder, 'tool-from-csv.DAT'));
    expect(datFromCsv.equals(dat.bytes), '.DAT saved by the page = the tool\'s from the page\'s .CSV').toBe(true);
    const csvFromDat = toolConvert(dat.path, path.join(folder, 'tool-from-dat.CSV')).toString('latin1');
    const csvText = csv.bytes.toString('latin1');
    const afterStamp = (t: string) => t.slice(t.indexOf('\r\n'));
    expect(csvText).toMatch(/^Jupiter Satellite Measurements - \d\d-\d\d-\d{4} [ \d]\d:\d\d\r\n/);
    expect(afterStamp(csvText)).toBe(afterStamp(csvFromDat));
    expect(csvText.split('\r\n').length).toBe(6 + nights + 1);

    // --- A reload loses nothing.
    const jdBefore = /Jul\. Day: \d+\.\d+/.exec(await panel.innerText())![0];
    leaveWhenAsked(page);
    await page.reload();
    await expect(telescopeView(page).first()).toBeVisible();
    await expect(panel).toContainText(jdBefore);
    expect(await reviewLines(page)).toEqual(wantLines);
    // Kept under the group's log-in id: the initial and the last name, eight characters.
    const keys = await page.evaluate(
        () =>
            new Promise<string[]>((resolve, reject) => {
                const r = indexedDB.open('quorvex');
                r.onerror = () => reject(r.error);
                r.onsuccess = () => {
                    const db = r.result;
                    const names = Array.from(db.objectStoreNames);
                    const tx = db.transaction(names, 'readonly');
                    const all: string[] = [];
                    let left = names.length;
                    for (const n of names) {
                        const k = tx.objectStore(n).getAllKeys();
                        k.onsuccess = () => {
                            all.push(...k.result.map(String));
                            if (--left === 0) resolve(all);
                        };
                    }
                };
            }),
    );
    expect(keys).toContain('ALovelac');

    // --- Loading: merged from the picker, replaced from the picker, merged from a drop.
    await loadFile(page, dat.path);
    await checkScreen(page, 'message-merge', 'the "Merge Data?" question');
    await answer(page, 'Merge Data?', 'Do you want to merge the file\ndata with your current data?', 'Yes');
    await checkScreen(page, 'message-data-loaded', 'the "Data Loaded" message');
    await answer(page, 'Data Loaded', 'Data loaded from lab1.DAT.\n\nMerged with existing data.', 'OK');
    expect(await reviewLines(page)).toHaveLength(2 * nights);
    await loadFile(page, csv.path);
    await answer(page, 'Merge Data?', null, 'No');
    await expect(message(page, 'Data Not Saved!')).toHaveAccessibleDescription(
        normalise('You will lose information if you do not save\nthe current data before loading this file!\n\nDo you want to continue with this load?'),
    );
    await checkScreen(page, 'message-not-saved', 'the "Data Not Saved!" question');
    await answer(page, 'Data Not Saved!', null, 'Yes');
    await answer(page, 'Data Loaded', 'Data loaded from lab1.CSV.', 'OK');
    expect(await reviewLines(page)).toEqual(wantLines);
    await dropFile(page, telescopeView(page).first(), dat.path);
    await answer(page, 'Merge Data?', null, 'Yes');
    await answer(page, 'Data Loaded', 'Data loaded from lab1.DAT.\n\nMerged with existing data.', 'OK');
    expect(await reviewLines(page)).toHaveLength(2 * nights);
    await loadFile(page, dat.path);
    await answer(page, 'Merge Data?', null, 'No');
    await answer(page, 'Data Not Saved!', null, 'Yes');
    await answer(page, 'Data Loaded', 'Data loaded from lab1.DAT.', 'OK');

    // --- Review: Io of the first night corrected by a hundredth, a night deleted and brought back.
    await command(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    await expect(list).toBeVisible();
    await checkScreen(page, 'review-list', 'the review list');
    await expectEveryControlReachableByTab(page, list, 'the review list');
    const firstIo = expected.findIndex((v) => v[0] !== null);
    const io = expected[firstIo][0]!;
    await list.getByRole('option').nth(5 + firstIo).click();
    await list.getByRole('menuitem', { name: 'Edit', exact: true }).click();
    await list.getByRole('menuitem', { name: 'Edit Selected Line...', exact: true }).click();
    const edit = dialog(page, 'Record/Edit Measurements');
    await expect(edit).toBeVisible();
    const ioBox = edit.getByLabel('Io (1):');
    await expect(ioBox).toHaveValue(entryBoxText(io));
    const corrected = Math.abs(io) + 0.01;
    await ioBox.fill(`${corrected.toFixed(2)}${io < 0 ? 'E' : 'W'}`);
    await checkScreen(page, 'review-edit', 'the entry form editing a record');
    await edit.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(edit).toBeHidden();
    const correctedValue = Math.fround((io < 0 ? -1 : 1) * Number(corrected.toFixed(2)));
    const editedLines = [...wantLines];
    editedLines[firstIo] = normalise(reviewLine(first + firstIo, [correctedValue, ...expected[firstIo].slice(1)]));
    await expect(list.getByRole('option').nth(5 + firstIo)).toHaveText(editedLines[firstIo], { useInnerText: true });

    await list.getByRole('option').nth(5 + 1).click();
    await list.getByRole('menuitem', { name: 'Edit', exact: true }).click();
    await list.getByRole('menuitem', { name: 'Delete Selected Line', exact: true }).click();
    await answer(page, 'Verify Deletion', 'Delete the selected record?', 'OK');
    await expect(list.getByRole('option')).toHaveCount(5 + nights - 1);
    await list.getByRole('menuitem', { name: 'Edit', exact: true }).click();
    await list.getByRole('menuitem', { name: 'Undo Edit/Delete', exact: true }).click();
    await answer(page, 'Undo Edit/Delete?', 'Restore the modified/deleted record?', 'OK');
    await expect(list.getByRole('option')).toHaveCount(5 + nights);
    const finalLines = (await list.getByRole('option').allInnerTexts()).slice(5).map(normalise);
    expect(finalLines).toEqual(editedLines);
    await list.press('Escape');

    // The corrected table saved once more: only Io of that night differs.
    const again = await saveFile(page, 'DAT', 'lab2', folder);
    const after = decodeDat(again.bytes);
    expect(after[firstIo].offsets[0]).toBe(correctedValue);
    expect(again.bytes.subarray(0, 32 * firstIo).equals(dat.bytes.subarray(0, 32 * firstIo))).toBe(true);
});
