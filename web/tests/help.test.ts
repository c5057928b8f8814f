// SPDX-License-Identifier: GPL-3.0-or-later
// The help: every topic of every topic list reached from "Select Help Topic"
// and shown as the engine reads its file, related topics and "Back", the
// searches, the printout, the topics' addresses, the keyboard alone, and
// axe on both windows at both sizes.
import { expect, test, type Locator, type Page } from '@playwright/test';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { answer, checkScreen, command, commandByKeyboard, dialog, message, tabTo } from './support/app';
import { loadCore } from './support/core';
import { buildWebDir } from './support/paths';

const lists = ['JupHlp.lst', 'JupAnalHlp.lst', 'TopVwHlp.lst'] as const;

interface Expected {
    index: number; // in the list
    title: string;
    caption: string;
    lines: string[];
}

// Each topic of a list as the test's own engine reads the site's files.
async function expectedTopics(page: Page, file: string): Promise<Expected[]> {
    await loadCore(page);
    return page.evaluate(async (name) => {
        const core = (window as unknown as { __quorvexTestCore: any }).__quorvexTestCore;
        const bytes = async (n: string) => new Uint8Array(await (await fetch(`/data/${encodeURIComponent(n)}`)).arrayBuffer());
        const list = new core.HelpList();
        list.loadBytes(name, await bytes(name));
        const out = [];
        const entries = list.entries() as { title: string; fileName: string; kind: string }[];
        for (const [index, e] of entries.entries()) {
            if (e.kind !== 'topic') continue;
            const p = core.helpTopicPage(e, e.fileName, await bytes(e.fileName));
            if (p.message) throw new Error(`${e.title}: ${p.message.text}`);
            out.push({ index, title: e.title, caption: p.caption, lines: p.lines });
        }
        list.delete();
        return out;
    }, file);
}

const topicsDialog = (page: Page) => dialog(page, 'Select Help Topic');
const helpWindow = (page: Page) => page.getByRole('dialog', { name: /^Help - / });

// A command of a window's own menu bar.
async function windowCommand(win: Locator, ...items: string[]): Promise<void> {
    for (const name of items) await win.getByRole('menuitem', { name, exact: true }).click();
}

// The help window's lines as shown.
async function shownLines(page: Page): Promise<string[]> {
    return helpWindow(page).locator('.help-line').allTextContents();
}

async function openTopics(page: Page): Promise<Locator> {
    await command(page, 'Help', 'Topics...');
    await expect(topicsDialog(page)).toBeVisible();
    return topicsDialog(page);
}

test.beforeEach(async ({ page }) => {
    await page.goto('/');
    await expect(page.getByRole('menubar', { name: 'Main menu' })).toBeVisible();
});

test('every topic of every list is reached from its list and shows its file’s text', async ({ page }, info) => {
    test.skip(info.project.name === 'tablet', 'the desktop project goes through every topic');
    test.setTimeout(600_000);
    // The main window's Help has the items the options name: neither "On Help" nor "User" by default.
    await command(page, 'Help');
    const helpMenu = page.getByRole('menu', { name: 'Help', exact: true });
    await expect(helpMenu.getByRole('menuitem')).toHaveText(['Topics...', 'About']);
    await page.keyboard.press('Escape');
    for (const file of lists) {
        const topics = await expectedTopics(page, file);
        expect(topics.length, file).toBeGreaterThan(0);
        // The main window's list from its menu; the others as the analysis
        // window and the top view open them, by their address.
        if (file === 'JupHlp.lst') await openTopics(page);
        else await page.evaluate((f) => (location.hash = `help=${f}`), file);
        let list = topicsDialog(page);
        await expect(list).toBeVisible();
        for (const t of topics) {
            await list.getByRole('option').nth(t.index).dblclick();
            await expect(list).toBeHidden();
            await expect(helpWindow(page), file).toHaveAccessibleName(t.caption);
            expect(await shownLines(page), `${file}: ${t.title}`).toEqual(t.lines);
            expect(decodeURIComponent(new URL(page.url()).hash)).toBe(`#help=${file}/${t.title.trim()}`);
            await windowCommand(helpWindow(page), 'Topic', 'Show Help Topics...');
            list = topicsDialog(page);
            await expect(list.getByRole('option').nth(t.index)).toHaveAttribute('aria-selected', 'true');
        }
        await page.keyboard.press('Escape');
        await windowCommand(helpWindow(page), 'Topic', 'Close Topic Window');
        await expect(helpWindow(page)).toBeHidden();
        expect(new URL(page.url()).hash).toBe('');
    }
});

test('related topics, Back, the searches and a heading chosen', async ({ page }, info) => {
    test.skip(info.project.name === 'tablet', 'the desktop project covers it');
    const list = await openTopics(page);
    // A heading is no topic; a blank line only beeps.
    await list.getByRole('option', { name: '-Getting Started-' }).dblclick();
    await answer(page, 'Topic Heading', 'Select a Topic Under "-Getting Started-"', 'OK');
    // "Find Topic..." matches a whole title, ignoring case.
    await windowCommand(list, 'Topics', 'Find Topic...');
    const find = dialog(page, 'Find Help Topic');
    await find.getByLabel('Search String:').fill('logging in');
    await find.getByRole('button', { name: 'From Top' }).click();
    await expect(list.getByRole('option', { name: 'Logging In' })).toHaveAttribute('aria-selected', 'true');
    await windowCommand(list, 'Topics', 'Find Topic...');
    await find.getByLabel('Search String:').fill('Logging');
    await find.getByRole('button', { name: 'From Top' }).click();
    await answer(page, 'String Not Found', '"Logging" Not Found.', 'OK');
    await list.getByRole('option', { name: 'About This Exercise' }).dblclick();

    const win = helpWindow(page);
    const back = win.getByRole('menuitem', { name: 'Back' });
    await expect(win).toHaveAccessibleName('Help - About This Exercise');
    await expect(back).toHaveAttribute('aria-disabled', 'true');
    // Only lines below "Related Topics:" that name a topic are links.
    await expect(win.getByRole('heading', { name: 'Related Topics:' })).toBeVisible();
    await expect(win.getByRole('link')).toHaveText(['A Session Step by Step', 'What You Hand In', 'Logging In']);
    await win.getByRole('link', { name: 'A Session Step by Step' }).click();
    await expect(win).toHaveAccessibleName('Help - A Session Step by Step');
    await win.getByRole('link', { name: 'Logging In', exact: true }).click();
    await expect(win).toHaveAccessibleName('Help - Logging In');
    for (const title of ['A Session Step by Step', 'About This Exercise']) {
        await back.click();
        await expect(win).toHaveAccessibleName(`Help - ${title}`);
    }
    await expect(back).toHaveAttribute('aria-disabled', 'true');

    // "Search Text..." finds a word across the topic's lines, then from the
    // line after the one found, and says when there is nothing more.
    await windowCommand(win, 'Topic', 'Search Text...');
    const item = dialog(page, 'Find Help Item');
    await item.getByLabel('Search String:').fill('galileo');
    await item.getByRole('button', { name: 'From Top' }).click();
    const found = win.locator('.help-line[aria-current="true"]');
    await expect(found).toContainText('discovered by Galileo');
    await expect(found).toBeFocused();
    await windowCommand(win, 'Topic', 'Search Text...');
    await expect(item.getByLabel('Search String:')).toHaveValue('galileo');
    await item.getByRole('button', { name: 'From Cursor' }).click();
    await answer(page, 'String Not Found', '"galileo" Not Found.', 'OK');
});

test('a topic’s address reopens it after a reload and a link opens it anew', async ({ page }, info) => {
    test.skip(info.project.name === 'tablet', 'the desktop project covers it');
    await page.goto('/#help=JupHlp.lst/logging%20in');
    await expect(helpWindow(page)).toHaveAccessibleName('Help - Logging In');
    await helpWindow(page).getByRole('link', { name: 'Your Group\'s Data Folder' }).click();
    await expect(helpWindow(page)).toHaveAccessibleName('Help - Your Group\'s Data Folder');
    expect(page.url()).toMatch(/#help=JupHlp\.lst\/Your%20Group's%20Data%20Folder$/);
    await page.reload();
    await expect(helpWindow(page)).toHaveAccessibleName('Help - Your Group\'s Data Folder');
    // A link's address, as another tab would open it.
    const href = await helpWindow(page).getByRole('link').first().getAttribute('href');
    expect(href).toMatch(/^#help=JupHlp\.lst\//);
    // An address naming no topic of the list opens the list.
    await page.evaluate(() => (location.hash = 'help=TopVwHlp.lst/Nowhere'));
    await expect(topicsDialog(page)).toBeVisible();
    await expect(topicsDialog(page).getByRole('option').first()).toHaveText('-Understanding the Top View-');
});

test('a topic prints with the page’s head, black on white', async ({ page }, info) => {
    test.skip(info.project.name === 'tablet', 'the desktop project covers it');
    await page.goto('/#help=JupAnalHlp.lst/The%20RMS%20Residual');
    const win = helpWindow(page);
    await expect(win).toHaveAccessibleName('Help - The RMS Residual');
    const lines = await shownLines(page);
    // The print dialog itself is the browser's: the page is printed to PDF instead.
    await page.evaluate(() => (window.print = () => undefined));
    await windowCommand(win, 'Topic', 'Print Topic...');
    await expect(page).toHaveTitle('ORVA Exercise - "Quorvex" - ');
    const pdf = await page.pdf({ format: 'A4' });
    const colours = await page.evaluate(() => {
        const s = getComputedStyle(document.getElementById('print-area')!);
        return [s.color, s.backgroundColor];
    });
    await page.emulateMedia({ media: 'print' });
    const printed = await page.evaluate(() => {
        const s = getComputedStyle(document.getElementById('print-area')!);
        return [s.color, s.backgroundColor];
    });
    expect(printed, `screen: ${colours.join(', ')}`).toEqual(['rgb(0, 0, 0)', 'rgb(255, 255, 255)']);
    let pdftotext: string | null = null;
    try {
        pdftotext = execFileSync('sh', ['-c', 'command -v pdftotext'], { encoding: 'utf8' }).trim() || null;
    } catch {
        pdftotext = null;
    }
    test.skip(!pdftotext, 'pdftotext (poppler-utils) is not installed: the PDF cannot be read back');
    const file = path.join(buildWebDir, 'help-topic.pdf');
    fs.writeFileSync(file, pdf);
    const text = execFileSync(pdftotext!, ['-layout', file, '-'], { encoding: 'utf8' });
    expect(text).toMatch(/\d\d-\d\d-\d{4} \d\d:\d\d:\d\d +Laboratory Table Number \(Not Recorded\)/);
    expect(text).toContain('ORVA Exercise - "Quorvex" -');
    expect(text).toContain('Help - The RMS Residual');
    const wanted = lines.map((l) => l.trim()).filter((l) => l.length > 20);
    expect(wanted.length).toBeGreaterThan(3);
    for (const l of wanted) expect(text.replace(/\s+/g, ' '), l).toContain(l.replace(/\s+/g, ' '));
    // The window and the desk are not printed.
    expect(text).not.toContain('Select Help Topic');
    expect(text).not.toContain('Back');
});

test('the help by keyboard alone, and axe on its windows', async ({ page }, info) => {
    const tablet = info.project.name === 'tablet';
    if (tablet) await command(page, 'Help', 'Topics...');
    else await commandByKeyboard(page, 'Help', 'Topics...');
    const list = topicsDialog(page);
    const box = list.getByRole('listbox', { name: 'Select Help Topic' });
    await expect(box).toBeFocused();
    await checkScreen(page, 'help-topics', 'the help topic list');
    if (tablet) {
        await box.getByRole('option', { name: 'Logging In' }).tap();
        await windowCommand(list, 'Topics', 'Read/Print Topic...');
    } else {
        for (let i = 0; i < 4; ++i) await page.keyboard.press('ArrowDown');
        await expect(box.getByRole('option', { name: 'Logging In' })).toHaveAttribute('aria-selected', 'true');
        await page.keyboard.press('Enter');
    }
    const win = helpWindow(page);
    await expect(win).toHaveAccessibleName('Help - Logging In');
    const text = win.getByRole('document', { name: 'Help - Logging In' });
    await expect(text).toBeFocused();
    await checkScreen(page, 'help-topic', 'a help topic');
    if (tablet) return;
    // Tab reaches the related topics; Enter follows one.
    const link = win.getByRole('link').first();
    const name = (await link.textContent())!.trim();
    await tabTo(page, link);
    await page.keyboard.press('Enter');
    await expect(win).toHaveAccessibleName(`Help - ${name}`);
    await expect(win.getByRole('document')).toBeFocused();
    // Escape closes the window; the focus goes back to the desk.
    await page.keyboard.press('Escape');
    await expect(win).toBeHidden();
    expect(await page.evaluate(() => document.getElementById('desk')!.contains(document.activeElement))).toBe(true);
});

test.describe('a site without its topic list', () => {
    // The file is refused by the server, not served from the worker's cache.
    test.use({ serviceWorkers: 'block' });

    test('says so twice, and the topic list has nothing to show', async ({ page }, info) => {
        test.skip(info.project.name === 'tablet', 'the desktop project covers it');
        await page.route('**/data/JupHlp.lst', (r) => r.fulfill({ status: 404, body: '' }));
        await command(page, 'Help', 'Topics...');
        await answer(page, 'Help File Error', /^Help List File data\/JupHlp\.lst is Invalid\./, 'OK');
        await answer(page, 'File Error', 'Cannot Access Help List.\nFile Name: data/JupHlp.lst\n\nFile Not Found!', 'OK');
        await answer(page, 'Error', 'No Help List to Display!', 'OK');
        await expect(topicsDialog(page).getByRole('option')).toHaveCount(0);
        await expect(message(page, /.*/)).toHaveCount(0);
    });
});
