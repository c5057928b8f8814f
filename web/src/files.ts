// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement files in a browser: "Save Measurements" asks for the name
// and hands the bytes to the browser as a download; "Load..." opens the
// browser's file picker, and a file dropped on the page loads the same way.

import { PageWindow, buttonRow, pushButton } from './dialogs';
import { h, uid } from './dom';

// The save form's filters and default extensions, as the desktop's save dialog has them.
const saveFilters = {
    dat: { filter: 'Binary (ORVA) Format (*.DAT)' },
    csv: { filter: 'Spreadsheet (.CSV) Format (*.CSV)' },
};

export class SaveForm {
    private readonly win: PageWindow;
    private readonly name: HTMLInputElement;
    private readonly type: HTMLOutputElement;
    private finish: ((name: string | null) => void) | null = null;

    // The measurements' form unless another caption is given (the hotlist's).
    constructor(opts: { caption: string; id: string } = { caption: 'Save Measurements', id: 'SaveMeasurements' }) {
        this.win = new PageWindow({ caption: opts.caption, id: opts.id, className: 'save-form' });
        const nameId = uid('FileName');
        const typeId = uid('FileType');
        this.name = h('input', { type: 'text', id: nameId, name: 'FileName', autocomplete: 'off', spellcheck: 'false' });
        this.type = h('output', { id: typeId, class: 'file-type' });
        const typeLabel = h('span', { id: `${typeId}-label`, text: 'Save as type:' });
        this.type.setAttribute('aria-labelledby', `${typeId}-label`);
        const ok = pushButton('Save', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const form = h(
            'form',
            { class: 'save' },
            h('div', { class: 'save-grid' }, h('label', { for: nameId, text: 'File name:' }), this.name, typeLabel, this.type),
            buttonRow(ok, cancel),
        );
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            this.end(this.chosenName());
        });
        cancel.addEventListener('click', () => this.end(null));
        this.win.onEscape = () => this.end(null);
        this.win.body.append(form);
    }

    // Asks for the file name, starting with `proposed`; resolves with the
    // name typed, or null when cancelled.
    run(proposed: string, csv: boolean): Promise<string | null> {
        return this.runWithType(proposed, (csv ? saveFilters.csv : saveFilters.dat).filter);
    }

    // As run, with the file type shown as given.
    runWithType(proposed: string, type: string): Promise<string | null> {
        this.type.value = type;
        this.name.value = proposed;
        this.win.open(true, this.name);
        this.name.select();
        return new Promise((resolve) => (this.finish = resolve));
    }

    // The typed name as a file name (a download has no folder); empty is no choice.
    private chosenName(): string | null {
        const typed = this.name.value.trim();
        const base = typed.split(/[\\/]/).pop() ?? '';
        return base === '' || base === '.' || base === '..' ? null : base;
    }

    private end(name: string | null): void {
        this.win.close();
        this.finish?.(name);
        this.finish = null;
    }
}

// Hands the bytes to the browser as a file download named `name`.
export function download(bytes: Uint8Array, name: string): void {
    const blob = new Blob([bytes as BlobPart], { type: 'application/octet-stream' });
    const url = URL.createObjectURL(blob);
    const a = h('a', { href: url, download: name, hidden: true });
    document.body.append(a);
    a.click();
    a.remove();
    // The browser has taken the URL once the click's task is over.
    setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

// The browser's file picker for "Load...", ".DAT" and ".CSV" offered.
export class FilePicker {
    private readonly input: HTMLInputElement;
    onChosen: ((file: File) => void) | null = null;

    constructor() {
        this.input = h('input', {
            type: 'file',
            accept: '.DAT,.dat,.CSV,.csv',
            hidden: true,
            'aria-hidden': 'true',
            tabindex: -1,
        });
        this.input.addEventListener('change', () => {
            const f = this.input.files?.[0];
            this.input.value = '';
            if (f) this.onChosen?.(f);
        });
        document.body.append(this.input);
    }

    open(): void {
        this.input.click();
    }
}

// Files dragged onto `target` are handed over one at a time when dropped.
export function acceptDrops(target: HTMLElement, accept: () => boolean, onFile: (file: File) => void): void {
    const carriesFiles = (e: DragEvent) => !!e.dataTransfer && [...e.dataTransfer.types].includes('Files');
    target.addEventListener('dragenter', (e) => {
        if (carriesFiles(e) || e.dataTransfer?.files.length) e.preventDefault();
    });
    target.addEventListener('dragover', (e) => {
        if (!carriesFiles(e) && !e.dataTransfer?.files.length) return;
        e.preventDefault();
        if (e.dataTransfer) e.dataTransfer.dropEffect = accept() ? 'copy' : 'none';
    });
    target.addEventListener('drop', (e) => {
        const files = e.dataTransfer?.files;
        if (!files || files.length === 0) return;
        e.preventDefault();
        if (!accept()) return;
        for (const f of Array.from(files)) onFile(f);
    });
}
