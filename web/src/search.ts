// SPDX-License-Identifier: GPL-3.0-or-later
// The search string dialog of the list windows: the text to find (80
// characters at most), where to begin ("From Top", the default, or "From
// Cursor") and "Case Dependent". The search itself is the engine's.

import { PageWindow, pushButton } from './dialogs';
import { dropMnemonic, h, uid } from './dom';

export interface SearchRequest {
    fromCursor: boolean;
    // Empty when a search was asked for without text: nothing is found, and
    // the list says so.
    text: string;
    caseDependent: boolean;
}

// The longest search text the dialog takes.
const maxSearchChars = 80;

export class SearchForm {
    private readonly win: PageWindow;
    private readonly text: HTMLInputElement;
    private readonly caseBox: HTMLInputElement;
    private finish: ((r: SearchRequest | null) => void) | null = null;

    // The caption names what is searched ("Find Help Topic", "Find Help Item").
    constructor(caption = 'Find Text String', id = 'TGetSrchStrDlg') {
        this.win = new PageWindow({ caption, id, className: 'search-form' });
        const textId = uid('SrchStr1');
        const caseId = uid('CaseBox');
        const beginId = uid('Label2');
        this.text = h('input', {
            type: 'text',
            id: textId,
            name: 'SrchStr1',
            maxlength: maxSearchChars,
            autocomplete: 'off',
            spellcheck: 'false',
        });
        this.caseBox = h('input', { type: 'checkbox', id: caseId, name: 'CaseBox' });
        const fromTop = pushButton(dropMnemonic('From &Top'), { type: 'submit', class: 'push default' });
        const fromCursor = pushButton(dropMnemonic('&From Cursor'));
        const cancel = pushButton(dropMnemonic('&Cancel'));
        const form = h(
            'form',
            { class: 'search-grid' },
            h('label', { for: textId, text: 'Search String:' }),
            h('div', { class: 'search-text' }, this.text),
            h('span', { id: beginId, text: 'Begin Search:' }),
            h('div', { class: 'search-begin', role: 'group', 'aria-labelledby': beginId }, fromTop, fromCursor, cancel),
            // The box's caption stands on its left.
            h('div', { class: 'search-case' }, h('label', { for: caseId, text: 'Case Dependent' }), this.caseBox),
        );
        // Enter in the text is "From Top".
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            this.end(false);
        });
        fromCursor.addEventListener('click', () => this.end(true));
        cancel.addEventListener('click', () => this.end(null));
        this.win.onEscape = () => this.end(null);
        this.win.body.append(form);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // Asks for the search, starting with `text` and `caseDependent`; resolves
    // with what to search for, or null when cancelled.
    run(text = '', caseDependent = false): Promise<SearchRequest | null> {
        this.text.value = text.slice(0, maxSearchChars);
        this.caseBox.checked = caseDependent;
        this.win.open(true, this.text);
        this.text.select();
        return new Promise((resolve) => (this.finish = resolve));
    }

    // fromCursor null: cancelled.
    private end(fromCursor: boolean | null): void {
        const request =
            fromCursor === null
                ? null
                : { fromCursor, text: this.text.value.slice(0, maxSearchChars), caseDependent: this.caseBox.checked };
        this.win.close();
        this.finish?.(request);
        this.finish = null;
    }
}
