// SPDX-License-Identifier: GPL-3.0-or-later
// Help, as the desktop's help windows give it: the topic lists (.lst) and
// the help texts of the program's data folder. Every window's "Help" comes
// here with its own topic list.

// The list a window's "Help" opens: the main window's, the analysis
// window's or the top view's, by their file names in the data folder.
export type HelpListFile = 'JupHlp.lst' | 'JupAnalHlp.lst' | 'TopVwHlp.lst';

// Opens the topic list of a window; the chosen topic is shown in the help
// window.
export async function openHelpList(_list: HelpListFile): Promise<void> {
    // The help windows are not part of the page yet.
}
