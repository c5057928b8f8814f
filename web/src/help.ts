// SPDX-License-Identifier: GPL-3.0-or-later
// Help, as the desktop's help windows give it: the topic lists (.lst) and
// the help texts of the program's data folder, read by the engine. Every
// window's "Help" comes here with its own topic list; "Select Help Topic"
// picks a topic, which the help window shows with its related topics as
// links, "Back" through the topics visited, a search and a printout.
//
// Each topic has an address: index.html#help=<list>/<title> shows it (the
// list is the window's topic list, empty for a whole help file such as "On
// Help"), #help=<list> opens the list. The address follows what is shown, so
// that a reload, a bookmark or a link reopens it.

import type { QuorvexCore } from './core';
import type { HelpEntry, HelpHistory, HelpList, HelpMenu, HelpTopicPage } from './core-help';
import { PageWindow, showMessage } from './dialogs';
import { h } from './dom';
import { LineList } from './listbox';
import { MenuBar, separator, type MenuLayout } from './menu';
import { printLines, printTime, printWithHeader, type PrintLogin } from './print';
import { SearchForm, type SearchRequest } from './search';

// The list a window's "Help" opens: the main window's, the analysis
// window's or the top view's, by their file names in the data folder.
export type HelpListFile = 'JupHlp.lst' | 'JupAnalHlp.lst' | 'TopVwHlp.lst';

// The site's folder of data files, where the help files are.
const helpFolder = 'data/';
const addressKey = 'help=';

interface HelpParts {
    core: QuorvexCore;
    // The group logged in, whose names a printout shows.
    login: () => PrintLogin | null;
}

let help: HelpSystem | null = null;

// The page's help, once the engine is there; `login` gives the printouts' names.
export function setUpHelp(core: QuorvexCore, login: () => PrintLogin | null): void {
    help ??= new HelpSystem({ core, login });
}

// Opens the topic list of a window; the chosen topic is shown in the help
// window.
export async function openHelpList(list: HelpListFile): Promise<void> {
    await help?.openList(list);
}

// The main window's Help menu: "On Help" and "User" only when the options
// name their files, "Topics..." with the main window's list, then `about`.
export function helpMenuItems(core: QuorvexCore, about: MenuLayout): MenuLayout[] {
    const names = core.helpMenu();
    const items: MenuLayout[] = [];
    const { onHelp, user } = names;
    if (onHelp) items.push({ id: 'OnHelp1', caption: '&On Help', action: () => void help?.showFile(onHelp) }, separator);
    items.push({ id: 'Topics1', caption: '&Topics...', action: () => void help?.openList(names.mainHelpList) }, separator);
    if (user) items.push({ id: 'User1', caption: '&User', action: () => void help?.showFile(user) }, separator);
    items.push(about);
    return items;
}

// Shows what the page's address names (#help=...), at start and whenever
// the address changes.
export async function openHelpFromAddress(): Promise<void> {
    await help?.openAddress(location.hash);
}

// What a help file fetched from the site came to.
type Fetched = { bytes: Uint8Array } | { status: number };

async function fetchHelpFile(name: string): Promise<Fetched> {
    try {
        const res = await fetch(new URL(helpFolder + encodeURIComponent(name), document.baseURI).href);
        if (!res.ok) return { status: res.status };
        return { bytes: new Uint8Array(await res.arrayBuffer()) };
    } catch {
        return { status: 0 };
    }
}

// The address of a topic list, or of a topic (list '' for a whole file).
function helpAddress(list: string, title?: string): string {
    const at = `#${addressKey}${encodeURIComponent(list)}`;
    return title === undefined ? at : `${at}/${encodeURIComponent(title.trim())}`;
}

function setAddress(address: string | null): void {
    const want = address ?? '';
    if (location.hash === want || (!address && !location.hash)) return;
    const url = address ?? location.pathname + location.search;
    history.replaceState(history.state, '', url);
}

// The help window opens beside the desk where there is room (right, left,
// below), else over the desk's right side below its menu bar (whose menus
// stay in front), as the desktop's help window stands over the main window;
// its text takes the height left in the browser's window.
function placeHelpWindow(el: HTMLElement): void {
    const desk = document.getElementById('desk');
    const text = el.querySelector<HTMLElement>('.help-text');
    if (!desk || !text) return;
    text.style.removeProperty('height');
    const gap = 8;
    const d = desk.getBoundingClientRect();
    const w = el.offsetWidth;
    const vw = document.documentElement.clientWidth;
    const vh = document.documentElement.clientHeight;
    const bar = document.getElementById('menubar-host')?.getBoundingClientRect();
    let x = Math.max(0, vw - w - gap);
    let y = Math.max(gap, bar ? bar.bottom + gap : d.top);
    if (d.right + gap + w <= vw) [x, y] = [d.right + gap, Math.max(gap, d.top)];
    else if (d.left - gap - w >= 0) [x, y] = [d.left - gap - w, Math.max(gap, d.top)];
    else if (d.bottom + gap + el.offsetHeight + gap <= vh) [x, y] = [Math.max(0, Math.min(d.left, vw - w)), d.bottom + gap];
    const chrome = el.offsetHeight - text.offsetHeight;
    text.style.height = `${Math.max(140, vh - y - gap - chrome)}px`;
    el.style.left = `${Math.round(x + window.scrollX)}px`;
    el.style.top = `${Math.round(y + window.scrollY)}px`;
}

// The desktop's warning beep, for a blank line chosen as a topic.
function beep(): void {
    try {
        const ctx = new AudioContext();
        const tone = ctx.createOscillator();
        const gain = ctx.createGain();
        gain.gain.value = 0.08;
        tone.frequency.value = 880;
        tone.connect(gain).connect(ctx.destination);
        tone.onended = () => void ctx.close();
        tone.start();
        tone.stop(ctx.currentTime + 0.12);
    } catch {
        // No sound to be had.
    }
}

class HelpSystem {
    readonly core: QuorvexCore;
    readonly login: () => PrintLogin | null;
    readonly names: HelpMenu;
    private readonly lists = new Map<string, HelpList>();
    // The list of the window that opened help, by its file name, and the
    // topic shown (CurrentHelpList and CurrentHelpTopic).
    listFile: string | null = null;
    topic: HelpEntry | null = null;
    // The search string dialog's text and case, which both windows share;
    // the topic list empties them whenever it opens.
    search = { text: '', caseDependent: false };
    readonly topics: TopicsDialog;
    readonly text: HelpTextWindow;

    constructor(parts: HelpParts) {
        this.core = parts.core;
        this.login = parts.login;
        this.names = this.core.helpMenu();
        this.topics = new TopicsDialog(this);
        this.text = new HelpTextWindow(this);
        window.addEventListener('hashchange', () => void this.openAddress(location.hash));
    }

    get list(): HelpList | null {
        return this.listFile === null ? null : (this.lists.get(this.listFile) ?? null);
    }

    // A window's topic list, read when first wanted and again while it could
    // not be read; a list that cannot be read is said so.
    async loadList(file: string): Promise<HelpList> {
        let list = this.lists.get(file);
        if (!list) {
            list = new this.core.HelpList();
            this.lists.set(file, list);
        }
        if (list.loaded()) return list;
        const got = await fetchHelpFile(file);
        const path = helpFolder + file;
        const failed = 'bytes' in got ? list.loadBytes(path, got.bytes) : list.loadFailed(path, got.status);
        for (const m of failed) await showMessage(m);
        return list;
    }

    // A window's Help: its list becomes the current one; the topic chosen
    // in "Select Help Topic" is shown in the help window.
    async openList(file: string): Promise<void> {
        if (this.topics.isOpen) return;
        const list = await this.loadList(file);
        this.listFile = file;
        if (!(await this.topics.run(list))) return;
        const entry = list.entryAt(list.currentIndex());
        if (!entry) return;
        this.topic = entry;
        await this.text.showTopic();
    }

    // "On Help" and "User": a topic that is a whole help file.
    async showFile(entry: HelpEntry): Promise<void> {
        this.topic = entry;
        await this.text.showTopic();
    }

    // The address of what is open: the topic list over the help window.
    updateAddress(): void {
        if (this.topics.isOpen && this.listFile !== null) setAddress(helpAddress(this.listFile));
        else if (this.text.isOpen && this.topic) setAddress(helpAddress(this.text.addressList, this.topic.title));
        else setAddress(null);
    }

    // #help=<list>: the list; #help=<list>/<title>: the topic of that title
    // (the list when it holds none); #help=/<title>: "On Help" or "User Help".
    async openAddress(hash: string): Promise<void> {
        const at = hash.startsWith('#') ? hash.slice(1) : hash;
        if (!at.startsWith(addressKey)) return;
        const parts = at.slice(addressKey.length).split('/');
        let file: string;
        let title: string | null;
        try {
            file = decodeURIComponent(parts[0]);
            title = parts.length > 1 ? decodeURIComponent(parts.slice(1).join('/')).trim() : null;
        } catch {
            return;
        }
        const known = [this.names.mainHelpList, this.names.analHelpList, this.names.topViewHelpList];
        if (file === '' && title !== null) {
            const whole = [this.names.onHelp, this.names.user].find((e) => e && e.title.toLowerCase() === title?.toLowerCase());
            if (whole) await this.showFile(whole);
            return;
        }
        if (!known.includes(file) || this.topics.isOpen) return;
        if (title === null || title === '') {
            await this.openList(file);
            return;
        }
        const list = await this.loadList(file);
        const index = list.find(title, 0);
        const entry = list.entryAt(index);
        if (!entry || entry.kind !== 'topic') {
            await this.openList(file);
            return;
        }
        this.listFile = file;
        list.setCurrentIndex(index);
        this.topic = entry;
        await this.text.showTopic();
    }

    // The search string dialog with the windows' shared text; null when cancelled.
    async askSearch(form: SearchForm): Promise<SearchRequest | null> {
        const asked = await form.run(this.search.text, this.search.caseDependent);
        if (asked) this.search = { text: asked.text, caseDependent: asked.caseDependent };
        return asked;
    }
}

// "Select Help Topic": the outline of a window's topics to pick one from.
class TopicsDialog {
    private readonly win: PageWindow;
    private readonly lines: LineList;
    private readonly searchForm = new SearchForm('Find Help Topic', 'HelpTopicSearch');
    private list: HelpList | null = null;
    private finish: ((chosen: boolean) => void) | null = null;

    constructor(private readonly help: HelpSystem) {
        this.win = new PageWindow({ caption: 'Select Help Topic', id: 'THelpLstDlg', className: 'help-topics' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        new MenuBar(menuHost, 'Select Help Topic', [
            {
                id: 'HelpTopics1',
                caption: '&Topics',
                items: [
                    { id: 'FindTopic1', caption: 'Find &Topic...', action: () => void this.findTopic() },
                    { id: 'ReadPrintTopic1', caption: '&Read/Print Topic...', action: () => void this.readTopic() },
                    { id: 'CloseHelpTopics1', caption: '&Close Help Topics', action: () => this.closeTopics() },
                ],
            },
        ]);
        this.lines = new LineList('Select Help Topic', 'help-topic-lines');
        this.lines.onOpen = () => void this.readTopic();
        this.win.onEscape = () => this.closeTopics();
        this.win.body.append(menuHost, this.lines.el);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // Shows the list (modal); resolves true when a topic was chosen, the
    // list's current index naming it.
    run(list: HelpList): Promise<boolean> {
        this.list = list.loaded() ? list : null;
        this.lines.setLines(this.list ? this.list.entries().map((e) => e.title) : []);
        this.win.open(true, this.lines.el);
        if (this.list) this.selectAtTop(this.list.currentIndex());
        else void showMessage(this.help.core.noHelpListMessage());
        this.help.search = { text: '', caseDependent: false };
        this.help.updateAddress();
        return new Promise((resolve) => (this.finish = resolve));
    }

    private selectAtTop(index: number): void {
        this.lines.select(index, false);
        const option = this.lines.el.children[index] as HTMLElement | undefined;
        if (!option) return;
        const box = this.lines.el;
        box.scrollTop += option.getBoundingClientRect().top - box.getBoundingClientRect().top - box.clientTop;
    }

    private async findTopic(): Promise<void> {
        const asked = await this.help.askSearch(this.searchForm);
        this.lines.el.focus();
        if (!asked || !this.list) return;
        const r = this.list.findTopic(this.lines.selectedLine, asked.fromCursor, asked.text, asked.caseDependent);
        if (r.message) await showMessage(r.message);
        else this.selectAtTop(r.line);
    }

    private async readTopic(): Promise<void> {
        if (!this.list) return;
        const pick = this.list.pick(this.lines.selectedLine);
        if (pick.kind === 'beep') beep();
        if (pick.message) await showMessage(pick.message);
        if (pick.kind === 'topic') this.end(true);
    }

    // "Close Help Topics" (and Escape): the line selected is remembered.
    private closeTopics(): void {
        this.list?.setCurrentIndex(this.lines.selectedLine);
        this.end(false);
    }

    private end(chosen: boolean): void {
        this.win.close(document.getElementById('desk'));
        this.help.updateAddress();
        this.finish?.(chosen);
        this.finish = null;
    }
}

// The help window ("Help - " and the topic's title): the topic's lines as
// its file has them, the related topics as links, "Back", the search and
// the printout. It stays open beside the desk.
class HelpTextWindow {
    private readonly win: PageWindow;
    private readonly menu: MenuBar;
    private readonly body: HTMLDivElement;
    private readonly searchForm = new SearchForm('Find Help Item', 'HelpItemSearch');
    private readonly history: HelpHistory;
    private page: HelpTopicPage | null = null;
    private lineEls: HTMLElement[] = [];
    private selected = -1;
    private loads = 0;
    // The list the shown topic's links and address belong to ('' for none).
    addressList = '';

    constructor(private readonly help: HelpSystem) {
        this.history = new help.core.HelpHistory();
        this.win = new PageWindow({ caption: 'Help', id: 'THelpWin', className: 'help-window' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        this.menu = new MenuBar(menuHost, 'Help', [
            {
                id: 'HelpTopic1',
                caption: '&Topic',
                items: [
                    { id: 'PrintTopic1', caption: '&Print Topic...', action: () => this.print() },
                    { id: 'SearchText1', caption: '&Search Text...', action: () => void this.searchText() },
                    { id: 'ShowHelpTopics1', caption: 'Show Help &Topics...', action: () => void this.showTopics() },
                    { id: 'CloseTopicWindow1', caption: '&Close Topic Window', action: () => this.close() },
                ],
            },
            { id: 'Back1', caption: '&Back', action: () => void this.back() },
        ]);
        this.menu.setEnabled('Back1', false);
        this.body = h('div', {
            class: 'line-list help-text',
            role: 'document',
            tabindex: 0,
            'aria-labelledby': this.win.captionEl.id,
        });
        this.body.addEventListener('click', (e) => {
            const line = (e.target as HTMLElement).closest<HTMLElement>('.help-line');
            if (line) this.select(Number(line.dataset.line));
        });
        this.win.onEscape = () => this.close();
        this.win.body.append(menuHost, this.body);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // Shows the current topic, added to the topics visited: the window
    // opens, or loads it and keeps its place when it is open.
    async showTopic(): Promise<void> {
        if (!this.win.isOpen) this.win.open(false, this.body, placeHelpWindow);
        this.addToHistory();
        await this.load();
        this.body.focus();
    }

    close(): void {
        this.history.forget();
        this.menu.setEnabled('Back1', false);
        this.win.close(document.getElementById('desk'));
        this.help.updateAddress();
    }

    private addToHistory(): void {
        if (this.help.topic) this.history.add(this.help.topic);
        this.menu.setEnabled('Back1', this.history.canGoBack());
    }

    // Reads the current topic from its file; false (after the message) when
    // there is nothing to show.
    private async load(): Promise<boolean> {
        const topic = this.help.topic;
        const list = this.help.list;
        this.menu.setEnabled('ShowHelpTopics1', !!list?.loaded());
        if (!topic) return false;
        const load = ++this.loads;
        const got = await fetchHelpFile(topic.fileName);
        if (load !== this.loads) return false; // a later topic was asked for meanwhile
        const full = helpFolder + topic.fileName;
        const page =
            'bytes' in got
                ? this.help.core.helpTopicPage(topic, full, got.bytes)
                : this.help.core.helpTopicFetchFailed(topic, full, got.status);
        this.addressList = list && list.find(topic.title, 0) >= 0 ? (this.help.listFile ?? '') : '';
        this.win.setCaption(page.caption);
        this.help.updateAddress();
        this.show(page.message ? null : page);
        if (page.message) {
            await showMessage(page.message);
            return false;
        }
        return true;
    }

    private show(page: HelpTopicPage | null): void {
        this.page = page;
        this.selected = -1;
        const lines = page?.lines ?? [];
        const list = this.help.list;
        const named = page && list?.loaded() ? list.relatedTopics(lines, page.relatedIndex) : [];
        this.lineEls = lines.map((text, i) => {
            const entry = named[i] >= 0 ? list?.entryAt(named[i]) : null;
            const attrs = { class: 'help-line', 'data-line': i };
            if (i === page?.relatedIndex) return h('h3', attrs, text);
            if (!entry) return h('div', attrs, text === '' ? ' ' : text);
            // The blanks around the title stay outside the link.
            const lead = text.length - text.trimStart().length;
            const name = text.trim();
            const link = h('a', { href: helpAddress(this.help.listFile ?? '', entry.title) }, name);
            link.addEventListener('click', (e) => {
                // A new tab or window opens the topic by its address.
                if (e.button !== 0 || e.ctrlKey || e.metaKey || e.shiftKey || e.altKey) return;
                e.preventDefault();
                void this.follow(i);
            });
            return h('div', attrs, text.slice(0, lead), link, text.slice(lead + name.length));
        });
        this.body.replaceChildren(...this.lineEls);
        this.body.scrollTop = 0;
    }

    private select(i: number): void {
        this.lineEls[this.selected]?.classList.remove('selected');
        this.lineEls[this.selected]?.removeAttribute('aria-current');
        this.selected = i >= 0 && i < this.lineEls.length ? i : -1;
        const el = this.lineEls[this.selected];
        if (!el) return;
        el.classList.add('selected');
        el.setAttribute('aria-current', 'true');
    }

    // A related topic followed: it becomes the list's current entry and is shown.
    private async follow(line: number): Promise<void> {
        const list = this.help.list;
        const page = this.page;
        if (!list || !page) return;
        const entry = list.followRelated(page.lines, page.relatedIndex, line);
        if (!entry) return;
        this.help.topic = entry;
        this.addToHistory();
        await this.load();
        this.body.focus();
    }

    private async back(): Promise<void> {
        const previous = this.history.back(this.help.list);
        this.menu.setEnabled('Back1', this.history.canGoBack());
        if (!previous) return;
        this.help.topic = previous;
        await this.load();
        this.body.focus();
    }

    // "Search Text...": from the top, or from the line after the one selected.
    private async searchText(): Promise<void> {
        const asked = await this.help.askSearch(this.searchForm);
        if (!asked || !this.win.isOpen) return;
        const lines = this.page?.lines ?? [];
        const r = this.help.core.searchTextLines(lines, this.selected, asked.fromCursor, asked.text, asked.caseDependent);
        if (r.message) {
            await showMessage(r.message);
            this.body.focus();
            return;
        }
        this.select(r.line);
        const el = this.lineEls[r.line];
        el.tabIndex = -1;
        el.scrollIntoView({ block: 'nearest' });
        el.focus();
    }

    // "Show Help Topics...": the topic chosen there is shown here.
    private async showTopics(): Promise<void> {
        const list = this.help.list;
        if (!list?.loaded()) return;
        if (!(await this.help.topics.run(list))) return;
        const entry = list.entryAt(list.currentIndex());
        if (!entry) return;
        this.help.topic = entry;
        this.addToHistory();
        await this.load();
        this.body.focus();
    }

    // "Print Topic...": the page's head (the date, the table and the names),
    // the print job's title, the window's caption and the topic's lines.
    private print(): void {
        const head = this.help.core.listPrintout(this.help.login() ?? { names: [], labTable: '' }, printTime());
        const caption = this.win.captionEl.textContent ?? '';
        printWithHeader(head, [printLines(['', head.title, '', caption, '', ...(this.page?.lines ?? [])])]);
    }
}
