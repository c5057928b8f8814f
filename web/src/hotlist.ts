// SPDX-License-Identifier: GPL-3.0-or-later
// "Select Date/Time for Observation": the group's hotlist of interesting
// dates. It starts as the instructor's list (the settings file's) or the
// site's own, and becomes the group's once they change it: kept in the
// browser under their log-in id after every change, as the desktop keeps the
// group's hotlist file in their data folder. "Save List" hands the list to
// the browser as a hotlist file (".HTL"), the bytes the desktop writes.
// The list, its rules and messages are the engine's.

import type { CoreMessage, HotListEditor, HotListEntry, QuorvexCore } from './core';
import type { DateTimeForm } from './datetime';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { dropMnemonic, h } from './dom';
import { SaveForm, download } from './files';
import { LineList } from './listbox';
import { MenuBar, separator } from './menu';
import { printLines, printTime, printWithHeader, type PrintLogin } from './print';
import type { SearchForm } from './search';
import type { WorkStore } from './store';

export const hotListCaption = 'Select Date/Time for Observation';
// The name the first "Save List" proposes: the options' default hotlist file.
const defaultFileName = 'HotDates.htl';

// Where the list comes from before the group has one of its own.
export type HotListDefaults = () => Promise<{ bytes: Uint8Array } | { entries: HotListEntry[] } | null>;

export interface HotListParts {
    core: QuorvexCore;
    store: WorkStore;
    editMode: boolean;
    defaults: HotListDefaults;
    // The group logged in (null before a log-in).
    group: () => { loginId: string; login: PrintLogin } | null;
    searchForm: SearchForm;
    // The private "Edit Date/Time" form (zone offset 0, no menu).
    editForm: () => DateTimeForm;
}

export class HotListWindow {
    private readonly core: QuorvexCore;
    private readonly win: PageWindow;
    private readonly list: LineList;
    private readonly menu: MenuBar;
    private readonly popup: SelectionPopup;
    private readonly editor: HotListEditor;
    private readonly saveForm = new SaveForm({ caption: 'Save Hotlist File', id: 'SaveHotlistFile' });
    private loadedFor: string | null = null;
    private loading: Promise<void> | null = null;
    private fileName = defaultFileName;
    private remembered = -1;
    private chosen: HotListEntry | null = null;
    private finish: ((e: HotListEntry | null) => void) | null = null;
    // The browser refused to keep the list: it lives in this page only.
    private notKept = false;

    constructor(private readonly parts: HotListParts) {
        this.core = parts.core;
        this.editor = new parts.core.HotListEditor();
        this.win = new PageWindow({ caption: hotListCaption, id: 'THotListForm1', className: 'hotlist' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        const line = () => this.list.selectedLine;
        this.menu = new MenuBar(menuHost, hotListCaption, [
            {
                id: 'HotList1',
                caption: '&List',
                items: [
                    { id: 'HotSearch1', caption: '&Search...', action: () => void this.search() },
                    { id: 'HotPrint1', caption: '&Print...', action: () => this.print() },
                    { id: 'HotSaveList1', caption: 'Save &List', action: () => void this.saveList() },
                    separator,
                    { id: 'HotClose1', caption: '&Close', action: () => this.end(null) },
                ],
            },
            {
                id: 'HotSelection1',
                caption: '&Selection',
                items: selectionItems(this, line),
            },
        ]);
        this.menu.setChecked('HotPrint1', false);
        this.list = new LineList(hotListCaption, 'hotlist-lines');
        this.list.onOpen = () => void this.chooseSelection(line());
        this.list.onDelete = (i) => void this.deleteSelection(i);
        this.popup = new SelectionPopup(selectionItems(this, line), this.list.el);
        this.list.el.addEventListener('contextmenu', (e) => this.openPopup(e));
        this.win.onEscape = () => this.end(null);
        const close = pushButton('Close');
        close.addEventListener('click', () => this.end(null));
        this.win.body.append(menuHost, this.list.el, this.popup.el, buttonRow(close));
    }

    // --- The list of the group ------------------------------------------------

    // Reads the group's list the first time it is wanted in a session: the
    // one kept in this browser, else the instructor's or the site's own.
    ensureLoaded(): Promise<void> {
        const id = this.parts.group()?.loginId ?? '';
        if (this.loadedFor === id) return Promise.resolve();
        this.loading ??= this.load(id).finally(() => (this.loading = null));
        return this.loading;
    }

    private async load(id: string): Promise<void> {
        const kept = id ? await this.parts.store.loadHotList(id) : undefined;
        if (kept) {
            this.editor.load(kept.list);
            this.editor.setSaved(kept.saved);
            this.fileName = kept.fileName || defaultFileName;
        } else {
            const from = await this.parts.defaults().catch(() => null);
            if (from && 'bytes' in from) this.editor.load(from.bytes);
            else this.editor.loadEntries(from?.entries ?? []);
            this.fileName = defaultFileName;
        }
        this.loadedFor = id;
        this.remembered = -1;
        this.updateMenus();
    }

    get isEmpty(): boolean {
        return this.editor.count() === 0;
    }

    get saved(): boolean {
        return this.editor.saved();
    }

    // Keeps the list in the browser after a change.
    private async keep(): Promise<void> {
        const group = this.parts.group();
        if (!group) {
            this.notKept = true;
            return;
        }
        const ok = await this.parts.store.saveHotList({
            loginId: group.loginId,
            list: this.editor.encode(),
            fileName: this.fileName,
            saved: this.editor.saved(),
            savedAt: Date.now(),
        });
        this.notKept = !ok;
    }

    private changed(select: number): void {
        this.refresh(select);
        void this.keep();
    }

    // "Put Date/Time on Hotlist...": the entry goes in order of instant.
    put(clockValue: number, comment: string): void {
        this.remembered = this.editor.put(clockValue, comment);
        this.changed(this.remembered);
    }

    // --- The window -----------------------------------------------------------

    // Shows the window modally; resolves with the entry chosen, or null.
    choose(): Promise<HotListEntry | null> {
        this.chosen = null;
        this.refresh(this.remembered);
        this.win.open(true, this.list.el);
        return new Promise((resolve) => (this.finish = resolve));
    }

    private refresh(select: number): void {
        this.list.setLines(this.editor.lines(this.parts.editMode));
        this.list.select(select);
        this.updateMenus();
    }

    private updateMenus(): void {
        this.menu.setEnabled('HotSaveList1', this.editor.saveListEnabled(this.parts.editMode));
        const undo = this.editor.canUndo();
        this.menu.setEnabled('HotUndo1', undo);
        this.popup.setEnabled('HotUndo1', undo);
    }

    private end(e: HotListEntry | null): void {
        this.popup.close(false);
        this.remembered = this.list.selectedLine;
        this.win.close();
        this.finish?.(e);
        this.finish = null;
    }

    private openPopup(e: MouseEvent): void {
        e.preventDefault();
        const i = this.list.selectedLine;
        // A right click opens it on the selected line only; the keyboard's
        // menu key on the list when a line is selected.
        const o = (e.target as HTMLElement | null)?.closest?.('[role="option"]');
        const onLine = o ? o.getAttribute('aria-selected') === 'true' : e.button !== 2;
        if (i < 0 || !onLine) return;
        let x = e.clientX;
        let y = e.clientY;
        if (e.button !== 2 || (x === 0 && y === 0)) {
            const r = this.list.el.querySelector('[aria-selected="true"]')?.getBoundingClientRect();
            if (r) {
                x = r.left + 24;
                y = r.bottom;
            }
        }
        this.popup.open(x, y);
    }

    // --- "Selection" -----------------------------------------------------------

    async chooseSelection(i: number): Promise<void> {
        const e = this.editor.entry(i);
        if (!e) {
            await this.say(this.core.hotListNoSelectionMessage());
            return;
        }
        this.end(e);
    }

    async editSelection(i: number): Promise<void> {
        const e = this.editor.entry(i);
        if (!e) {
            await this.say(this.core.hotListSelectEntryMessage());
            return;
        }
        // The entry's own clock value, shown as it is (zone offset 0).
        const clock = this.core.Instant.fromClock(e.clockValue, 0);
        try {
            const form = this.parts.editForm();
            if (!(await form.run(clock, true, e.comment))) return;
            if (!this.editor.edit(i, clock.clockValue(), form.comment)) return;
        } finally {
            clock.delete();
        }
        this.changed(i);
        this.list.el.focus();
    }

    async deleteSelection(i: number): Promise<void> {
        if (!this.editor.entry(i)) {
            await this.say(this.core.hotListSelectEntryMessage());
            return;
        }
        if ((await showMessage(this.core.hotListDeleteQuestion())) !== 'yes') {
            this.list.el.focus();
            return;
        }
        this.changed(Math.max(this.editor.remove(i), 0));
        this.list.el.focus();
    }

    undo(): void {
        if (!this.editor.canUndo()) return;
        this.changed(this.editor.undo());
        this.list.el.focus();
    }

    private async say(m: CoreMessage): Promise<void> {
        await showMessage(m);
        this.list.el.focus();
    }

    // --- "List" ----------------------------------------------------------------

    // "Search...": from the top, or from the line after the selected one.
    private async search(): Promise<void> {
        const asked = await this.parts.searchForm.run();
        this.list.el.focus();
        if (!asked) return;
        const r = this.core.searchTextLines(this.list.lines, this.list.selectedLine, asked.fromCursor, asked.text, asked.caseDependent);
        if (r.message) {
            await this.say(r.message);
            return;
        }
        this.list.select(r.line);
    }

    // "Print...": the header (in Edit Mode the date alone), the caption and
    // the lines, in the print view only. Afterwards the item is checked.
    private print(): void {
        const group = this.parts.group();
        const head = this.core.hotListPrintHeader(this.parts.editMode, group?.login ?? null, printTime());
        printWithHeader(head, [printLines(['', hotListCaption, '', ...this.list.lines])]);
        this.menu.setChecked('HotPrint1', true);
    }

    // "Save List": the file's name asked for (".HTL" added when it has no
    // extension), then the list as a download. Resolves with true when saved.
    async saveList(): Promise<boolean> {
        await this.ensureLoaded();
        const typed = await this.saveForm.runWithType(this.fileName, 'Hot List Files (*.HTL)');
        if (this.win.isOpen) this.list.el.focus();
        if (typed === null) return false;
        const name = /\.[^.]*$/.test(typed) ? typed : `${typed}.HTL`;
        download(this.editor.encode(), name);
        // The next save proposes it, as the options' hotlist file name (71 characters at most).
        this.fileName = name.slice(0, 71);
        this.editor.setSaved(true);
        this.updateMenus();
        await this.keep();
        await showMessage(this.core.hotListSavedMessage(name));
        if (this.win.isOpen) this.list.el.focus();
        return true;
    }

    // At the end of the exercise: a list the browser could not keep, with
    // changes not saved as a file, would be lost; the desktop's question
    // offers the save. A list the browser keeps loses nothing.
    async askToSaveUpdated(): Promise<void> {
        if (this.loadedFor === null || this.editor.saved()) return;
        if (!this.notKept && this.parts.store.available) return;
        if ((await showMessage(this.core.hotListUpdatedQuestion())) === 'yes') await this.saveList();
    }
}

// The four items of "Selection", which the pop-up menu repeats.
function selectionItems(w: HotListWindow, line: () => number) {
    return [
        { id: 'HotChoose1', caption: '&Choose Selection', action: () => void w.chooseSelection(line()) },
        { id: 'HotEdit1', caption: '&Edit Selection...', action: () => void w.editSelection(line()) },
        { id: 'HotDelete1', caption: '&Delete Selection', action: () => void w.deleteSelection(line()) },
        { id: 'HotUndo1', caption: '&Undo Edit/Delete', action: () => w.undo() },
    ];
}


// The pop-up menu of a selected line, as the WAI-ARIA menu pattern has it:
// the focus on its first item; Up, Down, Home and End move, Enter and Space
// choose, Escape and Tab close it and the focus goes back to the list.
class SelectionPopup {
    readonly el: HTMLUListElement;
    private readonly items: HTMLElement[] = [];

    constructor(
        layout: { id: string; caption: string; action: () => void }[],
        private readonly owner: HTMLElement,
    ) {
        this.el = h('ul', { role: 'menu', class: 'menu popup-menu', 'aria-label': 'Selection' });
        this.el.hidden = true;
        for (const l of layout) {
            const item = h('li', {
                role: 'menuitem',
                tabindex: -1,
                class: 'menuitem',
                id: `popup-${l.id}`,
                text: dropMnemonic(l.caption),
            });
            const choose = () => {
                if (item.getAttribute('aria-disabled') === 'true') return;
                this.close(false);
                l.action();
            };
            item.addEventListener('click', choose);
            item.addEventListener('keydown', (e) => {
                if (e.key === 'Enter' || e.key === ' ') {
                    e.preventDefault();
                    choose();
                }
            });
            this.items.push(item);
            this.el.append(item);
        }
        this.el.addEventListener('keydown', (e) => this.onKey(e));
        this.el.addEventListener('focusout', (e) => {
            const to = e.relatedTarget as Node | null;
            if (to && !this.el.contains(to)) this.close(false);
        });
        document.addEventListener('pointerdown', (e) => {
            if (!this.el.hidden && !this.el.contains(e.target as Node)) this.close(false);
        });
    }

    setEnabled(id: string, enabled: boolean): void {
        const item = this.items.find((i) => i.id === `popup-${id}`);
        if (!item) return;
        if (enabled) item.removeAttribute('aria-disabled');
        else item.setAttribute('aria-disabled', 'true');
    }

    // Opens the menu at the viewport point, kept on the screen.
    open(x: number, y: number): void {
        this.el.hidden = false;
        const r = this.el.getBoundingClientRect();
        this.el.style.left = `${Math.max(0, Math.min(x, window.innerWidth - r.width - 4))}px`;
        this.el.style.top = `${Math.max(0, Math.min(y, window.innerHeight - r.height - 4))}px`;
        this.items[0]?.focus();
    }

    close(refocus = true): void {
        if (this.el.hidden) return;
        const hadFocus = this.el.contains(document.activeElement);
        this.el.hidden = true;
        if (refocus || hadFocus) this.owner.focus();
    }

    private onKey(e: KeyboardEvent): void {
        const at = this.items.indexOf(document.activeElement as HTMLElement);
        const n = this.items.length;
        let to = -1;
        switch (e.key) {
            case 'ArrowDown':
                to = (at + 1) % n;
                break;
            case 'ArrowUp':
                to = (at - 1 + n) % n;
                break;
            case 'Home':
                to = 0;
                break;
            case 'End':
                to = n - 1;
                break;
            case 'Escape':
            case 'Tab':
                // Escape closes the pop-up, not the window under it.
                e.preventDefault();
                e.stopPropagation();
                this.close(true);
                return;
            default:
                return;
        }
        e.preventDefault();
        this.items[to]?.focus();
    }
}
