// SPDX-License-Identifier: GPL-3.0-or-later
// Printing as the browser prints: the page as it is now, printed to PDF by
// Chromium (its print styles applied), read back with Poppler's pdftotext
// (-layout keeps each printed line on a line of text) and pdftoppm.
import type { Page } from '@playwright/test';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export interface PdfOptions {
    // Paper, as Playwright names it; A4 unless given.
    format?: string;
    landscape?: boolean;
    // Where to keep the PDF; a temporary file, removed afterwards, unless given.
    file?: string;
}

// The text of the page printed to PDF, pages separated by form feeds. The
// page's print view is emptied once a printing is over, as it is after the
// browser printed it, so print once and read the kept `file` for more.
export async function pdfText(page: Page, options: PdfOptions = {}): Promise<string> {
    return withPdf(page, options, (file) => execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' }));
}

// How the pages of a PDF (pdfText's `file`) are inked: the pixels (at 72
// dots per inch) that are white, grey or black, and those of any other colour.
export function pdfInk(file: string): { white: number; grey: number; black: number; coloured: number } {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-ppm-'));
    try {
        execFileSync('pdftoppm', ['-r', '72', file, path.join(dir, 'page')]);
        const ink = { white: 0, grey: 0, black: 0, coloured: 0 };
        for (const name of fs.readdirSync(dir)) {
            const { width, height, rgb } = readPpm(fs.readFileSync(path.join(dir, name)));
            for (let i = 0; i < width * height * 3; i += 3) {
                const [r, g, b] = [rgb[i], rgb[i + 1], rgb[i + 2]];
                if (Math.max(r, g, b) - Math.min(r, g, b) > 24) ink.coloured += 1;
                else if (r > 240) ink.white += 1;
                else if (r < 60) ink.black += 1;
                else ink.grey += 1;
            }
        }
        return ink;
    } finally {
        fs.rmSync(dir, { recursive: true, force: true });
    }
}

// window.print() hands the print view to the browser's print dialog, which a
// headless browser does not show, and the view is emptied when printing is
// over. This keeps what a command puts in the print view for pdfText and
// counts the calls.
export async function holdPrints(page: Page): Promise<() => Promise<number>> {
    await page.evaluate(() => {
        const w = window as unknown as { __prints: number; print: () => void };
        w.__prints = 0;
        w.print = () => {
            w.__prints += 1;
        };
    });
    return () => page.evaluate(() => (window as unknown as { __prints: number }).__prints);
}

async function withPdf<T>(page: Page, options: PdfOptions, read: (file: string) => T): Promise<T> {
    if (options.file) fs.mkdirSync(path.dirname(options.file), { recursive: true });
    const file = options.file ?? path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-pdf-')), 'print.pdf');
    await page.pdf({ path: file, format: options.format ?? 'A4', landscape: options.landscape ?? false, printBackground: true });
    try {
        return read(file);
    } finally {
        if (!options.file) fs.rmSync(path.dirname(file), { recursive: true, force: true });
    }
}

// A binary PPM (P6, 8 bits) as pdftoppm writes it.
function readPpm(bytes: Buffer): { width: number; height: number; rgb: Buffer } {
    const fields: string[] = [];
    let at = 0;
    while (fields.length < 4) {
        while (/\s/.test(String.fromCharCode(bytes[at]))) at += 1;
        if (bytes[at] === 0x23) {
            while (bytes[at] !== 0x0a) at += 1;
            continue;
        }
        let f = '';
        while (!/\s/.test(String.fromCharCode(bytes[at]))) f += String.fromCharCode(bytes[at++]);
        fields.push(f);
    }
    if (fields[0] !== 'P6' || fields[3] !== '255') throw new Error(`not an 8-bit PPM: ${fields.join(' ')}`);
    return { width: Number(fields[1]), height: Number(fields[2]), rgb: bytes.subarray(at + 1) };
}
