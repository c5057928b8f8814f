// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's hotlist (web/bindings/HotListBindings.cpp): the list a group
// edits, in order of instant, with its "saved" flag and one-level undo, its
// lines, the hotlist file's bytes, and the hotlist window's messages.
import './core';
import type { CoreMessage, HotListEntry, LocalDateTime } from './core';

declare module './core' {
    /**
     * The hotlist: load it from a file's bytes (or the settings file's
     * entries), change it, and keep encode() after each change. Lines are
     * numbered from 0 in list order.
     */
    interface HotListEditor {
        delete(): void;
        /** The list becomes the file's whole entries, in order of instant; saved, nothing to undo. */
        load(bytes: Uint8Array): { entries: number; cutShort: boolean };
        /** As load, from entries such as the settings file's hotlist. */
        loadEntries(entries: { clockValue: number; comment: string }[]): void;
        /** The list as a hotlist file (".HTL", 64 bytes an entry). */
        encode(): Uint8Array;
        count(): number;
        /** Each entry's line; with its comment in Edit Mode. */
        lines(editMode: boolean): string[];
        entry(line: number): HotListEntry | null;
        /**
         * Puts an entry on the list in order of instant (next to equal ones),
         * as the file holds it (comment cut to 50 characters, "?" for a
         * character the file cannot hold); returns its line.
         */
        put(clockValue: number, comment: string): number;
        /** The entry of the line takes the new instant and comment in place; false for no such line. */
        edit(line: number, clockValue: number, comment: string): boolean;
        /** Deletes the line's entry; returns the line to select (the one above, or the first), -1 for none. */
        remove(line: number): number;
        canUndo(): boolean;
        /** Undoes the last edit or delete; returns the line to select, -1 when there was nothing to undo. */
        undo(): number;
        saved(): boolean;
        setSaved(saved: boolean): void;
        /** "Save List" is offered: unsaved changes, or Edit Mode. */
        saveListEnabled(editMode: boolean): boolean;
    }

    interface HotListEditorConstructor {
        new (): HotListEditor;
    }

    /** The hotlist printout's job title and its lines above the window's caption ("" for a blank line). */
    interface HotListPrintHeader {
        title: string;
        lines: string[];
    }

    interface QuorvexCore {
        HotListEditor: HotListEditorConstructor;
        readonly HOTLIST_COMMENT_MAX: number; // 50
        /** "No Selection!": Edit or Delete without a selected entry. */
        hotListSelectEntryMessage(): CoreMessage;
        /** "Delete Highlighted Entry from List?" (Yes/No). */
        hotListDeleteQuestion(): CoreMessage;
        /** "Hotlist Updated!" (Yes/No, stop icon). */
        hotListUpdatedQuestion(): CoreMessage;
        /** "Hotlist File Saved": "Hotlist saved in " + where. */
        hotListSavedMessage(where: string): CoreMessage;
        /** Edit Mode: "Database Modification" and the date alone; else the group's header. */
        hotListPrintHeader(editMode: boolean, login: { names: string[]; labTable: string } | null, now: LocalDateTime): HotListPrintHeader;
    }
}
