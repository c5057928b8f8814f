// SPDX-License-Identifier: GPL-3.0-or-later
// "Planetary Phenomena": Jupiter's opposition, conjunction and quadratures
// near the observation date, in UT, as the engine lists them. A report list
// with only Print and Close; it stays beside the desk until closed and shows
// the lines anew each time the desk opens it.

import { PageWindow } from './dialogs';
import { h } from './dom';
import { placeBesideDesk } from './entry';
import { LineList } from './listbox';
import { MenuBar, separator } from './menu';

export const phenomenaCaption = 'Planetary Phenomena';

export class PhenomenaWindow {
    readonly win: PageWindow;
    readonly list: LineList;

    constructor(print: (caption: string, lines: string[]) => void) {
        this.win = new PageWindow({ caption: phenomenaCaption, id: 'PhenomListForm1', className: 'phenomena' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        this.list = new LineList('Phenomena', 'phenomena-lines');
        new MenuBar(menuHost, phenomenaCaption, [
            {
                id: 'List1',
                caption: '&List',
                items: [
                    { id: 'Print1', caption: '&Print...', action: () => print(phenomenaCaption, this.list.lines) },
                    separator,
                    { id: 'Close1', caption: '&Close', action: () => this.close() },
                ],
            },
        ]);
        this.win.onEscape = () => this.close();
        this.win.body.append(menuHost, this.list.el);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // Shows the lines (the window comes forward when it is open).
    show(lines: string[]): void {
        this.list.setLines(lines);
        this.list.select(-1);
        this.win.open(false, this.list.el, placeBesideDesk);
    }

    close(): void {
        this.win.close(document.getElementById('desk'));
    }
}
