// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from any window: the printout's header (the title, the date and
// time, the lab table and the names, as the desktop's page header has them)
// and the window's own content go into the print view only, black on white,
// with no control of the page; the print job is named after the printout's
// title, and the print view is emptied when the printing is over.

import type { LocalDateTime, QuorvexCore } from './core';
import { byId, h } from './dom';

export interface PrintLogin {
    names: string[];
    labTable: string;
}

let titleBeforePrint: string | null = null;

// The local clock's time, as a printout is stamped with it.
export function printTime(): LocalDateTime {
    const now = new Date();
    return {
        year: now.getFullYear(),
        month: now.getMonth() + 1,
        day: now.getDate(),
        hour: now.getHours(),
        minute: now.getMinutes(),
        second: now.getSeconds(),
    };
}

// The header's lines as the engine writes them for this moment.
export function printoutHeaderFor(core: QuorvexCore, login: PrintLogin | null) {
    return core.printoutHeader({ names: login?.names ?? [], labTable: login?.labTable ?? '' }, printTime());
}

// Lines of fixed-width text, as the desktop prints its lists.
export function printLines(lines: string[]): HTMLElement {
    return h('div', { class: 'printout-lines', text: lines.join('\n') });
}

// Prints the header and the given content. The content is built by the
// window (printLines for text; a picture or a table as it needs).
export function printout(core: QuorvexCore, login: PrintLogin | null, content: Node[]): void {
    printWithHeader(printoutHeaderFor(core, login), content);
}

// As printout, with a head the window had the engine make for it (the
// list windows' own layouts); the print job is named after its title.
export function printWithHeader(head: { title: string; lines: string[] }, content: Node[]): void {
    const area = byId('print-area');
    area.replaceChildren(h('div', { class: 'printout-head', text: head.lines.join('\n') }), ...content);
    if (titleBeforePrint === null) {
        titleBeforePrint = document.title;
        window.addEventListener(
            'afterprint',
            () => {
                document.title = titleBeforePrint ?? document.title;
                titleBeforePrint = null;
                area.replaceChildren();
            },
            { once: true },
        );
    }
    document.title = head.title;
    window.print();
}
