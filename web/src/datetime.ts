// SPDX-License-Identifier: GPL-3.0-or-later
// "Set Date/Time": the observation date and time in UT, with the "Hotlist"
// menu that takes a date from the group's list of interesting dates, puts the
// date on it and saves the list. In Edit Mode the form also shows the
// comment that goes with a date on the hotlist. Without the menu and on a
// clock of zone offset 0 it is the hotlist's own "Edit Date/Time".

import type { Instant, QuorvexCore } from './core';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { h, uid } from './dom';
import type { HotListWindow } from './hotlist';
import { MenuBar } from './menu';

// The longest hotlist comment, in characters.
const commentMax = 50;

export class DateTimeForm {
    private readonly win: PageWindow;
    private readonly caption: string;
    private readonly dateEd: HTMLInputElement;
    private readonly timeEd: HTMLInputElement;
    private readonly cmntEd: HTMLInputElement;
    private readonly cancel: HTMLButtonElement;
    private readonly menu: MenuBar | null = null;
    private clock: Instant | null = null;
    private finish: ((ok: boolean) => void) | null = null;
    // The comment that goes with the date (at most 50 characters): emptied
    // or given when the form opens, taken from a hotlist entry, and in Edit
    // Mode from the comment box.
    private commentText = '';

    // `hotlist`: the window of "Access Hotlist..."; null for the hotlist's
    // own "Edit Date/Time", which has no menu.
    constructor(
        private readonly core: QuorvexCore,
        private readonly editMode: boolean,
        private readonly hotlist: HotListWindow | null,
    ) {
        this.caption = hotlist ? 'Set Date/Time' : 'Edit Date/Time';
        const caption = this.caption;
        this.win = new PageWindow({ caption, id: hotlist ? 'TUTTimeDlg' : 'EditDateTimeDlg', className: 'datetime-form' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        if (hotlist) {
            this.menu = new MenuBar(menuHost, caption, [
                {
                    id: 'Hotlist1',
                    caption: '&Hotlist',
                    items: [
                        { id: 'AccessHotlist1', caption: '&Access Hotlist...', action: () => void this.accessHotlist() },
                        {
                            id: 'PutDateTimeonHotlist1',
                            caption: '&Put Date/Time on Hotlist...',
                            action: () => void this.putOnHotlist(),
                        },
                        {
                            id: 'SaveUpdatedHotlist1',
                            caption: '&Save Updated Hotlist...',
                            action: () => void this.saveUpdatedHotlist(),
                        },
                    ],
                },
            ]);
        }
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
        if (hotlist) this.win.body.append(menuHost);
        this.win.body.append(form);
    }

    // Shows the form on `clock` (a copy of the observation instant, which OK
    // sets); resolves with true for OK. With Cancel disabled (the first Run)
    // the date must be confirmed with OK: Escape does nothing then.
    run(clock: Instant, cancelEnabled: boolean, comment = ''): Promise<boolean> {
        this.clock = clock;
        this.cancel.disabled = !cancelEnabled;
        this.commentText = comment.slice(0, commentMax);
        this.menu?.setEnabled('SaveUpdatedHotlist1', false);
        this.fillEdits();
        this.win.open(true, this.dateEd);
        this.dateEd.select();
        return new Promise((resolve) => (this.finish = resolve));
    }

    // The comment as the form had it when OK closed it.
    get comment(): string {
        return this.commentText;
    }

    private fillEdits(): void {
        if (!this.clock) return;
        this.dateEd.value = this.clock.utDateText();
        this.timeEd.value = this.clock.utTimeText();
        this.cmntEd.value = this.commentText;
    }

    private end(ok: boolean): void {
        this.win.close();
        this.clock = null;
        this.finish?.(ok);
        this.finish = null;
    }

    // The boxes into the clock (and the comment in Edit Mode); a text that is
    // no date and time is reported, and the clock stays as it was.
    private async takeEntry(): Promise<boolean> {
        if (!this.clock) return false;
        const msg = this.clock.takeEntry(this.dateEd.value, this.timeEd.value, this.caption);
        if (msg) {
            await showMessage(msg);
            this.dateEd.focus();
            return false;
        }
        if (this.editMode) this.commentText = this.cmntEd.value.slice(0, commentMax);
        return true;
    }

    private async okClick(): Promise<void> {
        if (await this.takeEntry()) this.end(true);
    }

    private async accessHotlist(): Promise<void> {
        const hot = this.hotlist;
        if (!hot) return;
        await hot.ensureLoaded();
        if (hot.isEmpty) {
            await showMessage(this.core.hotListEmptyMessage());
            this.dateEd.focus();
            return;
        }
        const chosen = await hot.choose();
        if (chosen && this.clock) {
            this.clock.setFromClock(chosen.clockValue);
            this.commentText = chosen.comment;
            this.fillEdits();
        }
        this.menu?.setEnabled('SaveUpdatedHotlist1', !hot.saved);
        this.dateEd.focus();
    }

    private async putOnHotlist(): Promise<void> {
        const hot = this.hotlist;
        if (!hot || !this.clock) return;
        await hot.ensureLoaded();
        if (!(await this.takeEntry())) return;
        hot.put(this.clock.clockValue(), this.commentText);
        this.menu?.setEnabled('SaveUpdatedHotlist1', true);
        this.dateEd.focus();
    }

    private async saveUpdatedHotlist(): Promise<void> {
        const hot = this.hotlist;
        if (!hot) return;
        await hot.saveList();
        this.menu?.setEnabled('SaveUpdatedHotlist1', !hot.saved);
        this.dateEd.focus();
    }
}
