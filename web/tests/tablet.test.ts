// SPDX-License-Identifier: GPL-3.0-or-later
// A tablet held upright (768×1024), by touch alone: every control reached by a
// tap, a moon measured by a finger on the view, the entry form, the review
// list, the eclipse stop and the load questions; each screen and dialog
// checked with axe and photographed.
import { expect, test, type Locator, type Page } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import { button, checkScreen, dialog, menu, message, readoutPanel, screenPoint, telescopeView } from './support/app';
import { firstEclipseStop, measurable, moonPixel, skyAt } from './support/core';
import { cursorReading, entryBoxText, julianDate, moonIds, readingText } from './support/texts';

// A control in reach of a finger: inside the screen, at least 24 px square.
async function tap(target: Locator): Promise<void> {
    await expect(target).toBeVisible();
    const box = (await target.boundingBox())!;
    expect(box.width >= 24 && box.height >= 24, `${await target.textContent()} is ${box.width}×${box.height}`).toBe(true);
    await target.tap();
}

async function tapCommand(page: Page, ...path: readonly string[]): Promise<void> {
    for (let i = 0; i < path.length; ++i) {
        const scope = i === 0 ? page.getByRole('menubar') : page.getByRole('menu', { name: path[i - 1], exact: true });
        const item = scope.getByRole('menuitem', { name: path[i], exact: true }).first();
        if ((await item.getAttribute('aria-expanded')) === 'true') continue;
        await tap(item);
    }
}

async function tapAnswer(page: Page, caption: string, text: string, reply: string): Promise<void> {
    const d = message(page, caption);
    await expect(d).toHaveAccessibleDescription(text.replace(/\s+/g, ' ').trim());
    await tap(d.getByRole('button', { name: reply, exact: true }));
    await expect(d).toBeHidden();
}

test('a group measures by touch on a tablet', async ({ page }, testInfo) => {
    test.setTimeout(300_000);
    await page.goto('/');
    await expect(page.getByRole('menubar')).toBeVisible();
    await checkScreen(page, 'title', 'the title screen');
    const scroll = await page.evaluate(() => document.documentElement.scrollWidth);
    expect(scroll, 'no sideways scrolling').toBeLessThanOrEqual(768);

    await tapCommand(page, ...menu.logIn);
    const login = dialog(page, 'Student Accounting');
    await checkScreen(page, 'login', 'the log-in form');
    await tap(login.getByRole('button', { name: 'OK', exact: true }));
    await checkScreen(page, 'message-no-entry', 'the "No Entry!" message');
    await tapAnswer(page, 'No Entry!', "You Didn't Enter Anything!", 'Cancel');
    await tap(login.getByLabel('Student #1:', { exact: true }));
    await login.getByLabel('Student #1:', { exact: true }).fill('Katherine Johnson');
    await login.getByLabel('Laboratory Table Number:', { exact: true }).fill('12');
    await tap(login.getByRole('button', { name: 'OK', exact: true }));
    await checkScreen(page, 'message-login-completed', 'the "Login Completed?" question');
    await tapAnswer(page, 'Login Completed?', 'Have You Finished Logging In?', 'Yes');

    await tapCommand(page, ...menu.run);
    const when = dialog(page, 'Set Date/Time');
    await checkScreen(page, 'date-time', 'the date/time form');
    await when.getByLabel('Observation Date').fill('2025/01/10');
    await when.getByLabel(/Universal Time/).fill('03:00:00');
    await tap(when.getByRole('button', { name: 'OK', exact: true }));
    const view = telescopeView(page).first();
    await expect(view).toBeVisible();
    await expect(view).toBeInViewport();
    for (const name of ['100X', '200X', '300X', '400X', 'Next', 'Cont.', 'Record']) await expect(button(page, name)).toBeInViewport();
    await checkScreen(page, 'view-100X', 'the telescope view');

    // Every moon that can be measured, by a finger on its dot at 200X.
    const jd = julianDate(2025, 1, 10, 3);
    const sky = await skyAt(page, jd);
    await tap(button(page, '200X'));
    const panel = readoutPanel(page);
    let measured = 0;
    for (let moon = 1; moon <= 4; ++moon) {
        const mag = measurable(sky, moon, 1) ? 1 : 0;
        if (!measurable(sky, moon, mag)) continue;
        if (mag === 0) await tap(button(page, '100X'));
        const p = moonPixel(sky.moons[moon - 1], mag);
        const at = await screenPoint(page, p.x, p.y);
        await page.touchscreen.tap(at.x, at.y);
        await expect(panel).toContainText(`X: ${p.x}, Y: ${p.y}`);
        await expect(panel).toContainText(moonIds[moon]);
        await expect(panel).toContainText(readingText(cursorReading(p.x, mag), p.x - 314));
        if (measured === 0) await checkScreen(page, 'view-touch-crosshair', 'the view with a finger placement');
        await tap(button(page, 'Record'));
        const entry = dialog(page, 'Record/Edit Measurements');
        await expect(entry.getByLabel(['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'][moon - 1])).toHaveValue(
            entryBoxText(cursorReading(p.x, mag)),
        );
        if (measured === 0) await checkScreen(page, 'entry-form', 'the entry form');
        await tap(entry.getByRole('button', { name: 'OK', exact: true }));
        await expect(entry).toBeHidden();
        if (mag === 0) await tap(button(page, '200X'));
        ++measured;
    }
    expect(measured).toBeGreaterThan(1);
    // Off every moon: try again.
    const corner = await screenPoint(page, 5, 5);
    await page.touchscreen.tap(corner.x, corner.y);
    await tap(button(page, 'Record'));
    await checkScreen(page, 'message-try-again', 'the "Try Again!" message');
    await tapAnswer(page, 'Try Again!', 'Cursor is not accurately centered on moon!', 'OK');
    await tap(button(page, 'Next'));
    await expect(panel).toContainText('Jul. Day: 2460686.62500');

    await tapCommand(page, ...menu.review);
    const list = dialog(page, 'Review/Edit/Print Measurements');
    await expect(list.getByRole('option')).toHaveCount(6);
    await checkScreen(page, 'review-list', 'the review list');
    await list.press('Escape');
    await expect(list).toBeHidden();

    // The animation to an eclipse.
    await tapCommand(page, ...menu.features);
    const features = dialog(page, 'Select Features');
    await checkScreen(page, 'features', 'the features dialog');
    await tap(features.getByRole('checkbox', { name: 'Animation', exact: true }));
    await tap(features.getByRole('checkbox', { name: 'Stop Animation on Eclipse', exact: true }));
    await tap(features.getByRole('button', { name: 'OK', exact: true }));
    await tap(button(page, '100X'));
    const stop = await firstEclipseStop(page, jd + 1, 0.1, 2000, 0);
    expect(stop).not.toBeNull();
    await tap(button(page, 'Cont.'));
    const stopMessage = message(page, 'Animation Stop on Eclipse');
    await expect(stopMessage).toBeVisible({ timeout: 120_000 });
    await checkScreen(page, 'message-eclipse-stop', 'the eclipse stop');
    await tap(stopMessage.getByRole('button', { name: 'Cancel', exact: true }));

    // A saved file loaded back: the merge question and the loaded message.
    const download = page.waitForEvent('download');
    await tapCommand(page, ...menu.saveDat);
    const save = dialog(page, 'Save Measurements');
    if (await Promise.race([download.then(() => false), save.waitFor().then(() => true)])) {
        await checkScreen(page, 'save', 'the save form');
        await tap(save.getByRole('button', { name: /^(OK|Save)$/ }));
    }
    const file = testInfo.outputPath((await download).suggestedFilename());
    await (await download).saveAs(file);
    expect(fs.statSync(file).size).toBe(32);
    const chooser = page.waitForEvent('filechooser');
    await tapCommand(page, ...menu.load);
    await (await chooser).setFiles(file);
    await checkScreen(page, 'message-merge', 'the "Merge Data?" question');
    await tapAnswer(page, 'Merge Data?', 'Do you want to merge the file\ndata with your current data?', 'Yes');
    await checkScreen(page, 'message-data-loaded', 'the "Data Loaded" message');
    await tapAnswer(page, 'Data Loaded', `Data loaded from ${path.basename(file)}.\n\nMerged with existing data.`, 'OK');
});
