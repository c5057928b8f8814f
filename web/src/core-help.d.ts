// SPDX-License-Identifier: GPL-3.0-or-later
// What the core's module exports for the help windows (web/bindings/HelpBindings.cpp).

import type { CoreMessage, LocalDateTime, TextSearchResult } from './core';
import './core';

/** An entry of a topic list: a heading ("-Title-", file "begin"), a blank separator or a topic. */
export interface HelpEntry {
    title: string; // as the list shows it, indentation and heading marks included
    fileName: string;
    kind: 'heading' | 'separator' | 'topic';
}

/** A topic as the help window shows it, or why it shows nothing. */
export interface HelpTopicPage {
    title: string; // without the indentation
    caption: string; // "Help - " + title
    lines: string[]; // empty with a message
    relatedIndex: number; // the "Related Topics" line; -1 when none
    message: CoreMessage | null; // "Help Not Available", "Topic Not Found", "No Text for Topic"
}

/** What "Read/Print Topic..." does with the selected entry. */
export interface HelpPick {
    kind: 'nothing' | 'beep' | 'heading' | 'topic';
    message: CoreMessage | null; // "Topic Heading"
}

/** The file names of the site's options for help. */
export interface HelpMenu {
    mainHelpList: string;
    analHelpList: string;
    topViewHelpList: string;
    onHelp: HelpEntry | null; // "On Help": shown only when the options name its file
    user: HelpEntry | null; // "User Help": likewise
}

/** A topic list (".lst"), kept by the page for as long as it is used. */
export interface HelpList {
    /** The file's bytes: [] when read, else the two messages of a list that cannot be read. */
    loadBytes(path: string, bytes: Uint8Array): CoreMessage[];
    /** The file could not be fetched (HTTP status, 0 for no answer): the two messages. */
    loadFailed(path: string, httpStatus: number): CoreMessage[];
    loaded(): boolean;
    entries(): HelpEntry[];
    entryAt(index: number): HelpEntry | null;
    /** The first entry from `from` whose whole title equals the text, ignoring case and blanks; -1 when none. */
    find(text: string, from: number): number;
    currentIndex(): number;
    setCurrentIndex(index: number): void;
    /** "Read/Print Topic...": a topic becomes the current entry. */
    pick(selected: number): HelpPick;
    /** "Find Topic...". */
    findTopic(selected: number, fromCursor: boolean, text: string, caseDependent: boolean): TextSearchResult;
    /** For each line of a topic, the index of the topic it names as a related topic, or -1. */
    relatedTopics(lines: string[], relatedIndex: number): number[];
    /** A line of the help window followed as a related topic (it becomes the current entry); null when it names none. */
    followRelated(lines: string[], relatedIndex: number, line: number): HelpEntry | null;
    delete(): void;
}

/** The topics visited in the help window, the last being the one shown. */
export interface HelpHistory {
    /** Adds the topic unless it has the title of the one shown. */
    add(entry: { title: string; fileName: string }): void;
    /** "Back": the topic before the one shown (which is dropped); the list's entry of that title becomes its current one. */
    back(list: HelpList | null): HelpEntry | null;
    canGoBack(): boolean;
    forget(): void;
    count(): number;
    delete(): void;
}

declare module './core' {
    interface QuorvexCore {
        HelpList: { new (): HelpList };
        HelpHistory: { new (): HelpHistory };
        /** The topic from its help text file's bytes; fullFileName names the file in messages. */
        helpTopicPage(entry: { title: string; fileName: string }, fullFileName: string, bytes: Uint8Array): HelpTopicPage;
        /** The topic's file could not be fetched: "Help Not Available". */
        helpTopicFetchFailed(entry: { title: string; fileName: string }, fullFileName: string, httpStatus: number): HelpTopicPage;
        helpMenu(): HelpMenu;
        /** "No Help List to Display!". */
        noHelpListMessage(): CoreMessage;
        /** A list window's printout: the print job's title and the lines above its caption (date, table, names). */
        listPrintout(login: { names: string[]; labTable: string }, now: LocalDateTime): { title: string; lines: string[] };
    }
}
