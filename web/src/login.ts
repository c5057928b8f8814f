// SPDX-License-Identifier: GPL-3.0-or-later
// "Student Accounting": up to four students and their lab table log in. There
// is no Cancel: the form ends only through OK, once the engine's question
// ("Login Completed?" or "No Entry!") was answered the way that completes it.

import type { QuorvexCore } from './core';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { h, uid } from './dom';
import type { StoredLogin } from './store';

export class LoginForm {
    private readonly win: PageWindow;
    private readonly names: HTMLInputElement[];
    private readonly table: HTMLInputElement;
    private readonly ok: HTMLButtonElement;
    private finish: ((login: StoredLogin) => void) | null = null;
    private busy = false;

    constructor(private readonly core: QuorvexCore) {
        this.win = new PageWindow({ caption: 'Student Accounting', id: 'TLoginDlg', className: 'login-form' });
        const grid = h('div', { class: 'login-grid' });
        this.names = [1, 2, 3, 4].map((n) => {
            const id = uid(`Stud${n}`);
            const edit = h('input', {
                type: 'text',
                id,
                name: `Stud${n}`,
                maxlength: core.MAX_STUDENT_NAME_CHARS,
                autocomplete: 'off',
                spellcheck: 'false',
            });
            grid.append(h('label', { for: id, text: `Student #${n}:` }), edit);
            return edit;
        });
        const tableId = uid('LabTbl');
        this.table = h('input', {
            type: 'text',
            id: tableId,
            name: 'LabTbl',
            maxlength: core.MAX_LAB_TABLE_CHARS,
            autocomplete: 'off',
            class: 'lab-table',
        });
        const tableRow = h(
            'div',
            { class: 'login-table' },
            h('label', { for: tableId, text: 'Laboratory Table Number:' }),
            this.table,
        );
        this.ok = pushButton('OK', { type: 'submit' });
        const form = h(
            'form',
            { class: 'login' },
            h('p', { class: 'login-prompt', text: 'Enter Student Name(s)  (Firstname...Lastname)' }),
            grid,
            tableRow,
            buttonRow(this.ok),
        );
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            void this.okClick();
        });
        // No Cancel: Escape does nothing.
        this.win.onEscape = null;
        this.win.body.append(form);
    }

    // Shows the empty form; resolves with the group once the log-in is complete.
    run(): Promise<StoredLogin> {
        for (const e of [...this.names, this.table]) e.value = '';
        this.win.open(true, this.names[0]);
        return new Promise((resolve) => (this.finish = resolve));
    }

    private async okClick(): Promise<void> {
        if (this.busy) return;
        this.busy = true;
        try {
            const outcome = this.core.login({ names: this.names.map((e) => e.value), table: this.table.value });
            const answer = await showMessage(outcome.question);
            if (answer !== outcome.completesWith) return;
            const names = outcome.studentNames.slice(0, 4);
            while (names.length < 4) names.push('');
            const login: StoredLogin = {
                names: names as [string, string, string, string],
                labTable: outcome.labTable,
                loginId: outcome.loginId,
            };
            this.win.close();
            this.finish?.(login);
            this.finish = null;
        } finally {
            this.busy = false;
        }
    }
}
