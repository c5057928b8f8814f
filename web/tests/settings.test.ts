// SPDX-License-Identifier: GPL-3.0-or-later
// The instructor's settings file beside the page: a copy of the site served
// with a quorvex-options.json of the test's own, which the page reads at
// every start (through the service worker too, and from the worker's copy
// when the server is gone),
// and a damaged or refused file, which leaves the defaults and says why.
import { expect, test, type Page } from '@playwright/test';
import { spawn, type ChildProcess } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { answer, checkScreen, command, dialog, leaveWhenAsked, logIn, menu, placeWithMouse, readoutPanel } from './support/app';
import { measurable, moonPixel, skyAt } from './support/core';
import { buildWebDir, siteDir, webDir } from './support/paths';
import { julianDate } from './support/texts';

const copy = path.join(buildWebDir, 'settings-site');
const settingsFile = path.join(copy, 'quorvex-options.json');
let server: ChildProcess | null = null;
let origin = '';

// serve.mjs on the copy, on `port` (0: a free one); resolves once it listens.
async function serve(port: number): Promise<void> {
    const child = spawn(process.execPath, [path.join(webDir, 'serve.mjs'), copy, String(port)], {
        stdio: ['ignore', 'pipe', 'inherit'],
    });
    server = child;
    origin = await new Promise<string>((resolve, reject) => {
        let said = '';
        child.stdout?.on('data', (b: Buffer) => {
            said += b.toString();
            const m = /at (http:\/\/127\.0\.0\.1:\d+\/)/.exec(said);
            if (m) resolve(m[1]);
        });
        child.on('exit', (code) => reject(new Error(`serve.mjs ended (${code})`)));
    });
}

async function stopServing(): Promise<void> {
    const child = server;
    server = null;
    if (!child || child.exitCode !== null) return;
    const ended = new Promise((resolve) => child.once('exit', resolve));
    child.kill();
    await ended;
}

test.beforeAll(async () => {
    fs.rmSync(copy, { recursive: true, force: true });
    fs.cpSync(siteDir, copy, { recursive: true });
    // The built site has no settings file of its own.
    expect(fs.existsSync(settingsFile)).toBe(false);
    await serve(0);
});

test.afterAll(async () => {
    await stopServing();
    fs.rmSync(copy, { recursive: true, force: true });
});

function writeSettings(text: string | object): void {
    fs.writeFileSync(settingsFile, typeof text === 'string' ? text : JSON.stringify(text, null, 2));
}

// The read-outs under the view.
const readout = (page: Page, id: 'RdngLbl' | 'IDLbl') => page.locator(`#${id}`);

test('an instructor’s settings: demonstration mode, read-outs, the file’s hotlist, and each change at the next start', async ({
    page,
}) => {
    leaveWhenAsked(page);
    writeSettings({
        LoginRequired: false,
        EditMode: true,
        IdentifyMoon: false,
        ShowDistance: false,
        ZoneOffset: 5,
        HotList: [
            { Instant: '2026/12/09 21:00:00', Comment: 'Io "transit"' },
            { Instant: '2024/11/15 02:00:00', Comment: 'Four moons apart' },
        ],
    });
    await page.goto(origin);
    await expect(page.getByRole('menubar')).toBeVisible();

    // Demonstration mode: no log-in, the session is open for "Run...".
    await command(page, ...menu.run);
    const when = dialog(page, 'Set Date/Time');
    await expect(when).toBeVisible();
    await expect(page.getByRole('alertdialog')).toHaveCount(0);
    // Edit Mode: the comment box, empty until a date comes from the hotlist.
    const comment = when.getByRole('textbox', { name: 'Comment', exact: true });
    await expect(comment).toHaveValue('');

    // The file's hotlist, on the clock five hours behind UT, with its
    // comments, in order of instant; a date taken from it is shown in UT.
    await when.getByRole('menuitem', { name: 'Hotlist', exact: true }).click();
    await when.getByRole('menuitem', { name: 'Access Hotlist...', exact: true }).click();
    const hot = dialog(page, 'Select Date/Time for Observation');
    await expect(hot.getByRole('option')).toHaveText(['2024/11/14 21:00:00 Four moons apart', '2026/12/09 16:00:00 Io "transit"'], {
        useInnerText: true,
    });
    await hot.getByRole('option').first().dblclick();
    await expect(hot).toBeHidden();
    await expect(when.getByLabel('Observation Date')).toHaveValue('2024/11/15');
    await expect(when.getByLabel(/Universal Time/)).toHaveValue('02:00:00');
    await expect(comment).toHaveValue('Four moons apart');
    await checkScreen(page, 'settings-datetime-edit-mode', 'the date/time form in Edit Mode');
    await when.getByRole('button', { name: 'OK', exact: true }).click();

    // Without identification and distance the crosshair reads its pixel only.
    const sky = await skyAt(page, julianDate(2024, 11, 15, 2));
    const p = moonPixel(sky.moons[[1, 2, 3, 4].find((m) => measurable(sky, m, 0))! - 1], 0);
    const place = async () => {
        await placeWithMouse(page, p.x, p.y);
        await expect(readoutPanel(page)).toContainText(`X: ${p.x}, Y: ${p.y}`);
    };
    await place();
    await expect(readout(page, 'RdngLbl')).toHaveText('');
    await expect(readout(page, 'IDLbl')).toHaveText('');
    // ID colours go with identification.
    await command(page, ...menu.features);
    const features = dialog(page, 'Select Features');
    await expect(features.getByLabel('Use ID Colors')).toBeDisabled();
    await features.getByRole('button', { name: 'Cancel', exact: true }).click();

    // Once the service worker keeps the site, a changed file holds at the next
    // start all the same, and a start without the network keeps the last one.
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await page.reload();
    await place();
    await expect(readout(page, 'RdngLbl')).toHaveText('');
    writeSettings({ LoginRequired: false, IdentifyMoon: false });
    await page.reload();
    await place();
    await expect(readout(page, 'RdngLbl')).toContainText('(Jup. Diam.)');
    await expect(readout(page, 'IDLbl')).toHaveText('');
    const port = Number(new URL(origin).port);
    await stopServing();
    try {
        await page.reload();
        await place();
        await expect(readout(page, 'RdngLbl')).toContainText('(Jup. Diam.)');
        await expect(readout(page, 'IDLbl')).toHaveText('');
        await expect(page.getByRole('alertdialog')).toHaveCount(0);
    } finally {
        await serve(port);
    }
});

test('a settings file refused by the server or damaged: the defaults, and a message that says why', async ({ page }) => {
    const head = 'Options File quorvex-options.json is Invalid.\nProgram will continue with defaults.\n\n';
    writeSettings({ LoginRequired: false });
    await page.route('**/quorvex-options.json', (r) => r.fulfill({ status: 403, body: 'Forbidden' }));
    await page.goto(origin);
    await answer(page, 'File Error', `${head}File Access Denied! (HTTP 403)`, 'OK');
    await page.unroute('**/quorvex-options.json');

    // A colon missing on line 3: nothing of the file applies.
    writeSettings('{\n  "LoginRequired": false,\n  "TestMode" true\n}\n');
    await page.reload();
    const box = page.getByRole('alertdialog', { name: 'File Error', exact: true });
    await expect(box).toBeVisible();
    await checkScreen(page, 'settings-damaged', 'the damaged settings file’s message');
    await answer(page, 'File Error', `${head}Line 3, column 14: ":" was expected after the name.`, 'OK');
    // The log-in is asked, as without the file.
    await logIn(page, { names: ['Henrietta Leavitt'], table: '2' });
});
