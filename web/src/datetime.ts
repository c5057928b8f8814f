// SPDX-License-Identifier: GPL-3.0-or-later
// "Set Date/Time": the observation date and time in UT, with the "Hotlist"
// menu that takes a date from the list of interesting dates, and the hotlist
// window "Select Date/Time for Observation". In Edit Mode the form also
// shows the comment of the date taken from the hotlist.

import type { CoreMessage, HotList, HotListEntry, Instant, QuorvexCore } from './core';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { h, uid } from './dom';
import { LineList } from './listbox';
import { MenuBar } from './menu';

const caption = 'Set Date/Time';
// The longest hotlist comment, in characters.
const commentMax = 50;

export class DateTimeForm {
    private readonly win: PageWindow;
    private readonly dateEd: HTMLInputElement;
    private readonly timeEd: HTMLInputElement;
    private readonly cmntEd: HTMLInputElement;
    private readonly cancel: HTMLButtonElement;
    private clock: Instant | null = null;
    private finish: ((ok: boolean) => void) | null = null;
    private readonly hotlistWindow: HotListWindow;

    constructor(
        private readonly core: QuorvexCore,
        private readonly hotlist: () => Promise<HotList>,
        editMode: boolean,
    ) {
        this.win = new PageWindow({ caption, id: 'TUTTimeDlg', className: 'datetime-form' });
        this.hotlistWindow = new HotListWindow(core, editMode);
        const menuHost = h('div', { class: 'dlg-menubar' });
        new MenuBar(menuHost, caption, [
            {
                id: 'AccessHotlist1-host',
                caption: '&Hotlist',
                items: [{ id: 'AccessHotlist1', caption: '&Access Hotlist...', action: () => void this.accessHotlist() }],
            },
        ]);
        const dateId = uid('DateEd');
        const timeId = uid('TimeEd');
        const dateFmtId = uid('DateFmtLbl');
        const timeFmtId = uid('TimeFmtLbl');
        this.dateEd = h('input', {
            type: 'text',
            id: dateId,
            name: 'DateEd',
            title: 'Enter full (4 digit) year',
            'aria-describedby': dateFmtId,
            autocomplete: 'off',
            spellcheck: 'false',
            inputmode: 'numeric',
        });
        this.timeEd = h('input', {
            type: 'text',
            id: timeId,
            name: 'TimeEd',
            title: 'Use 24 hr format.',
            'aria-describedby': timeFmtId,
            autocomplete: 'off',
            spellcheck: 'false',
            inputmode: 'numeric',
        });
        const grid = h(
            'div',
            { class: 'datetime-grid' },
            h('label', { for: dateId, text: 'Observation Date' }),
            this.dateEd,
            h('span', { id: dateFmtId, class: 'fmt', text: 'YYYY/MM/DD' }),
            h('label', { for: timeId, text: 'Universal Time (UTC) ' }),
            this.timeEd,
            h('span', { id: timeFmtId, class: 'fmt', text: 'HH:MM:SS' }),
        );
        this.cmntEd = h('input', {
            type: 'text',
            name: 'CmntEd',
            class: 'datetime-comment',
            'aria-label': 'Comment',
            maxlength: String(commentMax),
            autocomplete: 'off',
        });
        this.cmntEd.hidden = !editMode;
        const ok = pushButton('OK', { type: 'submit' });
        this.cancel = pushButton('Cancel');
        const form = h('form', { class: 'datetime' }, grid, this.cmntEd, buttonRow(ok, this.cancel));
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            void this.okClick();
        });
        this.cancel.addEventListener('click', () => this.end(false));
        this.win.onEscape = () => {
            if (!this.cancel.disabled) this.end(false);
        };
        this.win.body.append(menuHost, form);
    }

    // Shows the form on `clock` (a copy of the observation instant, which OK
    // sets); resolves with true for OK. With Cancel disabled (the first Run)
    // the date must be confirmed with OK: Escape does nothing then.
    run(clock: Instant, cancelEnabled: boolean): Promise<boolean> {
        this.clock = clock;
        this.cancel.disabled = !cancelEnabled;
        this.cmntEd.value = '';
        this.fillEdits();
        this.win.open(true, this.dateEd);
        this.dateEd.select();
        return new Promise((resolve) => (this.finish = resolve));
    }

    private fillEdits(): void {
        if (!this.clock) return;
        this.dateEd.value = this.clock.utDateText();
        this.timeEd.value = this.clock.utTimeText();
    }

    private end(ok: boolean): void {
        this.win.close();
        this.clock = null;
        this.finish?.(ok);
        this.finish = null;
    }

    private async okClick(): Promise<void> {
        if (!this.clock) return;
        const msg = this.clock.takeEntry(this.dateEd.value, this.timeEd.value, caption);
        if (msg) {
            await showMessage(msg);
            this.dateEd.focus();
            return;
        }
        this.end(true);
    }

    private async accessHotlist(): Promise<void> {
        let list: HotList;
        try {
            list = await this.hotlist();
        } catch {
            list = { entries: [], cutShort: false };
        }
        if (list.entries.length === 0) {
            await showMessage(this.core.hotListEmptyMessage());
            return;
        }
        const chosen = await this.hotlistWindow.choose(list.entries);
        if (chosen && this.clock) {
            this.clock.setFromClock(chosen.clockValue);
            this.cmntEd.value = chosen.comment;
            this.fillEdits();
        }
        this.dateEd.focus();
    }
}

// "Select Date/Time for Observation": the hotlist's lines; "Choose
// Selection" (or a double click, or Enter) takes the selected date.
class HotListWindow {
    private readonly win: PageWindow;
    private readonly list: LineList;
    private entries: HotListEntry[] = [];
    private finish: ((e: HotListEntry | null) => void) | null = null;

    constructor(
        private readonly core: QuorvexCore,
        private readonly editMode: boolean,
    ) {
        this.win = new PageWindow({ caption: 'Select Date/Time for Observation', id: 'THotListForm1', className: 'hotlist' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        new MenuBar(menuHost, 'Select Date/Time for Observation', [
            { id: 'HotList1', caption: '&List', items: [{ id: 'HotClose1', caption: '&Close', action: () => this.end(null) }] },
            {
                id: 'Selection1',
                caption: '&Selection',
                items: [{ id: 'Choose1', caption: '&Choose Selection', action: () => void this.chooseSelection() }],
            },
        ]);
        this.list = new LineList('Select Date/Time for Observation', 'hotlist-lines');
        this.list.onOpen = () => void this.chooseSelection();
        this.win.onEscape = () => this.end(null);
        this.win.body.append(menuHost, this.list.el, buttonRow(this.closeButton()));
    }

    private closeButton(): HTMLButtonElement {
        const b = pushButton('Close');
        b.addEventListener('click', () => this.end(null));
        return b;
    }

    choose(entries: HotListEntry[]): Promise<HotListEntry | null> {
        this.entries = entries;
        this.list.setLines(entries.map((e) => (this.editMode ? e.editLine : e.line)));
        this.list.select(-1);
        this.win.open(true, this.list.el);
        return new Promise((resolve) => (this.finish = resolve));
    }

    private async chooseSelection(): Promise<void> {
        const i = this.list.selectedLine;
        if (i < 0) {
            await showMessage(this.core.hotListNoSelectionMessage() as CoreMessage);
            this.list.el.focus();
            return;
        }
        this.end(this.entries[i] ?? null);
    }

    private end(e: HotListEntry | null): void {
        this.win.close();
        this.finish?.(e);
        this.finish = null;
    }
}
