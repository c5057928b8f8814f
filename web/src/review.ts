// SPDX-License-Identifier: GPL-3.0-or-later
// "Review/Edit/Print Measurements": the table as a fixed-pitch list below its
// five header lines, where the students correct, remove and restore single
// records. It stays open beside the desk and follows every change of the
// table. The rules (selection, deletion, undo) are the engine's.

import { PageWindow } from './dialogs';
import { h } from './dom';
import { placeBesideDesk } from './entry';
import { LineList } from './listbox';
import { MenuBar, separator } from './menu';

// The window's caption, which its printout shows above the lines.
export const reviewCaption = 'Review/Edit/Print Measurements';

export interface ReviewActions {
    edit(line: number): void;
    remove(line: number): void;
    undo(): void;
    search(): void;
    print(): void;
}

export class ReviewWindow {
    readonly win: PageWindow;
    readonly list: LineList;
    private readonly menu: MenuBar;

    constructor(actions: ReviewActions) {
        this.win = new PageWindow({ caption: reviewCaption, id: 'RsltsListForm1', className: 'review' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        this.list = new LineList('Measurements', 'review-lines');
        const line = () => this.list.selectedLine;
        this.menu = new MenuBar(menuHost, reviewCaption, [
            {
                id: 'List1',
                caption: '&List',
                items: [
                    { id: 'Search1', caption: '&Search...', action: () => actions.search() },
                    separator,
                    { id: 'Print1', caption: '&Print...', action: () => actions.print() },
                    separator,
                    { id: 'Close1', caption: '&Close', action: () => this.close() },
                ],
            },
            {
                id: 'Edit1',
                caption: '&Edit',
                items: [
                    { id: 'EditSelectedLine1', caption: '&Edit Selected Line...', action: () => actions.edit(line()) },
                    { id: 'DeleteSelectedLine1', caption: '&Delete Selected Line', action: () => actions.remove(line()) },
                    { id: 'UndoEditDelete1', caption: '&Undo Edit/Delete', action: () => actions.undo() },
                ],
            },
        ]);
        this.list.onOpen = (i) => actions.edit(i);
        this.list.onDelete = (i) => actions.remove(i);
        this.win.onEscape = () => this.close();
        this.win.body.append(menuHost, this.list.el);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // Shows the window (or brings it forward) with the list's lines.
    show(lines: string[], canUndo: boolean): void {
        this.update(lines, canUndo);
        this.win.open(false, this.list.el, placeBesideDesk);
    }

    // The table as it is now; the selection stays on its line.
    update(lines: string[], canUndo: boolean, select?: number): void {
        this.list.setLines(lines);
        if (select !== undefined) this.list.select(select);
        this.menu.setEnabled('UndoEditDelete1', canUndo);
    }

    close(): void {
        this.win.close(document.getElementById('desk'));
    }
}
