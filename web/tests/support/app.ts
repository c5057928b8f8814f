// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise as a person reaches it: by role and accessible name, with the
// desktop's captions and message texts.
import { expect, type Locator, type Page } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import { expectNoAxeViolations } from './axe';
import { screenshotDir } from './paths';

export const viewWidth = 628;
export const viewHeight = 326;
export const magButtons = ['100X', '200X', '300X', '400X'] as const;

// A form or window: a <dialog> named by its caption.
export function dialog(page: Page, caption: string | RegExp): Locator {
    return page.getByRole('dialog', { name: caption, exact: typeof caption === 'string' });
}

// A message box: an alert dialog named by its caption, described by its text.
export function message(page: Page, caption: string | RegExp): Locator {
    return page.getByRole('alertdialog', { name: caption, exact: typeof caption === 'string' });
}

// The message with this caption and text is shown; the button answers it.
export async function answer(
    page: Page,
    caption: string,
    text: string | RegExp | null,
    button: string,
): Promise<void> {
    const d = message(page, caption);
    await expect(d).toBeVisible();
    await expect(d, 'a message box is a <dialog>').toHaveJSProperty('tagName', 'DIALOG');
    if (text !== null) await expect(d).toHaveAccessibleDescription(typeof text === 'string' ? normalise(text) : text);
    await d.getByRole('button', { name: button, exact: true }).click();
    await expect(d).toBeHidden();
}

// A message's text as the page shows it: line breaks become white space.
export function normalise(text: string): string {
    return text.replace(/\s+/g, ' ').trim();
}

// A command of the page, by its path through the menu bar ("File", "Data",
// "Load..."), each menu opened by a click as a person opens it.
export async function command(page: Page, ...path: string[]): Promise<void> {
    const bar = page.getByRole('menubar');
    for (let i = 0; i < path.length; ++i) {
        const scope = i === 0 ? bar : page.getByRole('menu', { name: path[i - 1], exact: true });
        const item = scope.getByRole('menuitem', { name: path[i], exact: true }).first();
        const where = `menu item ${path.slice(0, i + 1).join(' > ')}`;
        await expect(item, where).toBeVisible();
        await expect(item, `${where} is enabled`).not.toHaveAttribute('aria-disabled', 'true');
        const expanded = await item.getAttribute('aria-expanded');
        if (expanded === 'true') continue;
        await item.click();
    }
}

// The menu commands of the exercise.
export const menu = {
    logIn: ['File', 'Log In...'],
    run: ['File', 'Run...'],
    features: ['File', 'Features...'],
    setDateTime: ['File', 'Observation Date', 'Set Date/Time...'],
    timing: ['File', 'Timing...'],
    load: ['File', 'Data', 'Load...'],
    review: ['File', 'Data', 'Review/Edit/Print...'],
    saveDat: ['File', 'Data', 'Save', 'Binary Format...'],
    saveCsv: ['File', 'Data', 'Save', '.CSV Format (for Spreadsheet)...'],
} as const;

// A screen or dialog as it is now: photographed into build-web/screenshots/
// (named by the viewport's size) and checked with axe.
export async function checkScreen(page: Page, name: string, where: string): Promise<void> {
    const viewport = page.viewportSize();
    const size = viewport ? `${viewport.width}x${viewport.height}` : 'page';
    fs.mkdirSync(screenshotDir, { recursive: true });
    await page.screenshot({ path: path.join(screenshotDir, `${size}-${name}.png`) });
    await expectNoAxeViolations(page, `${where} at ${size}`);
}

export interface Group {
    names: [string, string?, string?, string?];
    table: string;
}

export async function logIn(page: Page, group: Group): Promise<void> {
    await command(page, ...menu.logIn);
    const form = dialog(page, 'Student Accounting');
    await expect(form).toBeVisible();
    for (let i = 0; i < 4; ++i)
        await form.getByLabel(`Student #${i + 1}:`, { exact: true }).fill(group.names[i] ?? '');
    await form.getByLabel('Laboratory Table Number:', { exact: true }).fill(group.table);
    await form.getByRole('button', { name: 'OK', exact: true }).click();
    await answer(page, 'Login Completed?', 'Have You Finished Logging In?', 'Yes');
    await expect(form).toBeHidden();
}

// The date/time form: a UT date and time, confirmed with OK.
export async function setDateTime(page: Page, date: string, time: string): Promise<void> {
    const form = dialog(page, 'Set Date/Time');
    await expect(form).toBeVisible();
    await form.getByLabel('Observation Date', { exact: false }).first().fill(date);
    await form.getByLabel(/Universal Time/).fill(time);
    await form.getByRole('button', { name: 'OK', exact: true }).click();
    await expect(form).toBeHidden();
}

export async function run(page: Page, date: string, time: string): Promise<void> {
    await command(page, ...menu.run);
    await setDateTime(page, date, time);
    await expect(telescopeView(page)).toBeVisible();
}

export function telescopeView(page: Page): Locator {
    return page.getByRole('img', { name: 'Telescope view', exact: true })
        .or(page.getByRole('application', { name: 'Telescope view', exact: true }))
        .or(page.getByLabel('Telescope view', { exact: true }));
}

export function button(page: Page, name: string): Locator {
    return page.getByRole('button', { name, exact: true });
}

// The canvas of the view (the view itself, or the canvas it holds).
export async function viewCanvas(page: Page): Promise<Locator> {
    const v = telescopeView(page).first();
    const isCanvas = await v.evaluate((e) => e instanceof HTMLCanvasElement);
    return isCanvas ? v : v.locator('canvas').first();
}

// Where view pixel (x, y) is on the screen: the centre of that pixel.
export async function screenPoint(page: Page, x: number, y: number): Promise<{ x: number; y: number }> {
    const canvas = await viewCanvas(page);
    const box = await canvas.boundingBox();
    if (!box) throw new Error('the telescope view is not on the screen');
    const size = await canvas.evaluate((c) => [(c as HTMLCanvasElement).width, (c as HTMLCanvasElement).height]);
    return { x: box.x + ((x + 0.5) * box.width) / size[0], y: box.y + ((y + 0.5) * box.height) / size[1] };
}

// The crosshair placed with the mouse: pressed, moved a little, released there.
export async function placeWithMouse(page: Page, x: number, y: number): Promise<void> {
    const p = await screenPoint(page, x, y);
    await page.mouse.move(p.x, p.y);
    await page.mouse.down();
    await page.mouse.move(p.x + 1, p.y);
    await page.mouse.move(p.x, p.y);
    await page.mouse.up();
}

// Tab from wherever the focus is until the element has it.
export async function tabTo(page: Page, target: Locator, max = 60): Promise<void> {
    for (let i = 0; i < max; ++i) {
        if (await target.evaluate((e) => e === document.activeElement || e.contains(document.activeElement)))
            return;
        await page.keyboard.press('Tab');
    }
    throw new Error('Tab does not reach the element');
}

// The crosshair steered with the arrow keys from where it is to (x, y): ten
// pixels a step with Shift while ten or more are left.
export async function steer(page: Page, from: { x: number; y: number }, to: { x: number; y: number }): Promise<number> {
    let { x, y } = from;
    let presses = 0;
    while (x !== to.x || y !== to.y) {
        const dx = to.x - x;
        const dy = to.y - y;
        const d = dx !== 0 ? dx : dy;
        const key = dx !== 0 ? (dx < 0 ? 'ArrowLeft' : 'ArrowRight') : dy < 0 ? 'ArrowUp' : 'ArrowDown';
        const step = Math.abs(d) >= 10 ? 10 : 1;
        await page.keyboard.press(Math.abs(d) >= 10 ? `Shift+${key}` : key);
        if (dx !== 0) x += Math.sign(dx) * step;
        else y += Math.sign(dy) * step;
        if (++presses > 400) throw new Error('the crosshair does not get there');
    }
    return presses;
}

// The panel under the view: the read-outs and the buttons.
export function readoutPanel(page: Page): Locator {
    return page.getByRole('region', { name: 'Controls', exact: true });
}

// What the page says to a screen reader about the crosshair: the view's
// description and the live regions.
export async function announced(page: Page): Promise<string> {
    return page.evaluate(() => {
        const parts: string[] = [];
        for (const e of Array.from(document.querySelectorAll('[aria-live], [role=status], [role=log]')))
            parts.push(e.textContent ?? '');
        const view = document.querySelector('[aria-label="Telescope view"]');
        const ids = view?.getAttribute('aria-describedby')?.split(/\s+/) ?? [];
        for (const id of ids) parts.push(document.getElementById(id)?.textContent ?? '');
        const own = view?.getAttribute('aria-description');
        if (own) parts.push(own);
        return parts.join(' ').replace(/\s+/g, ' ');
    });
}

export interface Saved {
    path: string;
    name: string; // the name the browser was given
    bytes: Buffer;
}

// Data ▸ Save in a format: the name asked for (when the page asks), then the
// download, kept in `folder`.
export async function saveFile(
    page: Page,
    format: 'DAT' | 'CSV',
    name: string,
    folder: string,
    onForm?: () => Promise<void>,
): Promise<Saved> {
    const download = page.waitForEvent('download');
    await command(page, ...(format === 'DAT' ? menu.saveDat : menu.saveCsv));
    const form = dialog(page, 'Save Measurements');
    const first = await Promise.race([download.then(() => 'download'), form.waitFor().then(() => 'form')]);
    if (first === 'form') {
        await form.getByRole('textbox').first().fill(name);
        await onForm?.();
        await form.getByRole('button', { name: /^(OK|Save)$/ }).click();
    }
    const d = await download;
    const file = path.join(folder, d.suggestedFilename());
    await d.saveAs(file);
    return { path: file, name: d.suggestedFilename(), bytes: fs.readFileSync(file) };
}

// Data ▸ Load... with the file picker.
export async function loadFile(page: Page, file: string): Promise<void> {
    const chooser = page.waitForEvent('filechooser');
    await command(page, ...menu.load);
    await (await chooser).setFiles(file);
}

// A file dropped on the page, as from the desktop's file manager.
export async function dropFile(page: Page, target: Locator, file: string): Promise<void> {
    const bytes = Array.from(fs.readFileSync(file));
    const name = path.basename(file);
    const transfer = await page.evaluateHandle(
        ([b, n]) => {
            const dt = new DataTransfer();
            dt.items.add(new File([new Uint8Array(b as number[])], n as string));
            return dt;
        },
        [bytes, name] as const,
    );
    for (const type of ['dragenter', 'dragover', 'drop'])
        await target.dispatchEvent(type, { dataTransfer: transfer });
}

// The page opened and a group logged in (the options ask for a log-in).
export async function start(page: Page, group: Group = { names: ['Vera Rubin'], table: '3' }): Promise<void> {
    await page.goto('/');
    await expect(page.getByRole('menubar')).toBeVisible();
    await logIn(page, group);
}

// The browser's "Leave site?" question, asked while measurements are unsaved,
// answered "Leave": the work is kept in the browser.
export function leaveWhenAsked(page: Page): void {
    page.on('dialog', (d) => {
        if (d.type() === 'beforeunload') void d.accept();
    });
}

// A command of the menu bar reached by keyboard alone: Tab to the bar, Enter
// opens the first menu, Down moves to an item, Right opens its submenu and
// Enter chooses the last.
export async function commandByKeyboard(page: Page, ...path: string[]): Promise<void> {
    const focusedText = () => page.evaluate(() => (document.activeElement?.textContent ?? '').replace(/\u25b8/g, '').trim());
    const bar = page.getByRole('menubar').first();
    await tabTo(page, bar.getByRole('menuitem').first());
    for (let k = 0; k < 10 && (await focusedText()) !== path[0]; ++k) await page.keyboard.press('ArrowRight');
    expect(await focusedText()).toBe(path[0]);
    await page.keyboard.press('Enter');
    for (let i = 1; i < path.length; ++i) {
        for (let k = 0; k < 20 && (await focusedText()) !== path[i]; ++k) await page.keyboard.press('ArrowDown');
        expect(await focusedText(), `menu item ${path.slice(0, i + 1).join(' > ')}`).toBe(path[i]);
        await page.keyboard.press(i < path.length - 1 ? 'ArrowRight' : 'Enter');
    }
}

// Every control in `scope` that can take the focus (enabled, shown, not
// inert) is reached by Tab from where the focus is: the keyboard alone
// operates the screen. Menu items behind a menu bar's one tab stop are
// reached with the arrow keys and are not counted here.
export async function expectEveryControlReachableByTab(page: Page, scope: Locator, where: string): Promise<void> {
    const wanted = await scope.evaluate((root) => {
        const all = [root, ...Array.from(root.querySelectorAll<HTMLElement>('*'))] as HTMLElement[];
        let n = 0;
        const names: string[] = [];
        for (const e of all) {
            const disabled = (e as HTMLButtonElement).disabled === true;
            const shown = e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
            if (e.tabIndex < 0 || disabled || !shown || e.closest('[inert], dialog:not([open])')) continue;
            e.dataset.tabProbe = String(++n);
            names.push(`${e.tagName.toLowerCase()}#${e.id} "${(e.getAttribute('aria-label') ?? e.textContent ?? '').trim().slice(0, 30)}"`);
        }
        return names;
    });
    // Once round the page's tab stops, whatever window holds the focus.
    const stops = await page.evaluate(
        () =>
            Array.from(document.querySelectorAll<HTMLElement>('*')).filter(
                (e) => e.tabIndex >= 0 && e.getClientRects().length > 0 && !e.closest('[inert], dialog:not([open])'),
            ).length,
    );
    const reached = new Set<string>();
    for (let i = 0; i < stops + 4; ++i) {
        await page.keyboard.press('Tab');
        const probe = await page.evaluate(() => (document.activeElement as HTMLElement | null)?.dataset.tabProbe ?? '');
        if (probe) reached.add(probe);
    }
    const missing = wanted.filter((_, i) => !reached.has(String(i + 1)));
    await scope.evaluate((root) => root.querySelectorAll<HTMLElement>('[data-tab-probe]').forEach((e) => delete e.dataset.tabProbe));
    expect.soft(missing, `controls of ${where} that Tab does not reach`).toEqual([]);
}
