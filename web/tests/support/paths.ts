// SPDX-License-Identifier: GPL-3.0-or-later
// Where the tests find the native tool and put what they write: the
// screenshots and the figures go beside the built site in build-web/.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const webDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const buildWebDir = path.resolve(webDir, '../build-web');
export const siteDir = path.join(buildWebDir, 'site');
export const screenshotDir = path.join(buildWebDir, 'screenshots');
export const figuresFile = path.join(buildWebDir, 'figures.json');
export const axeScript = path.join(webDir, 'node_modules/axe-core/axe.min.js');

// The native build's quorvex-tool: QUORVEX_TOOL, else build-test's.
export const quorvexTool = path.resolve(
    webDir,
    process.env.QUORVEX_TOOL ?? '../build-test/bin/quorvex-tool',
);

// `quorvex-tool convert IN OUT`: the file written again as the desktop saves it.
export function toolConvert(input: string, output: string): Buffer {
    if (!fs.existsSync(quorvexTool))
        throw new Error(`No quorvex-tool at ${quorvexTool}: build the native tree or set QUORVEX_TOOL.`);
    execFileSync(quorvexTool, ['convert', input, output], { stdio: 'pipe' });
    return fs.readFileSync(output);
}

// A measured figure, kept with the others in build-web/figures.json.
export function recordFigure(name: string, value: unknown): void {
    fs.mkdirSync(buildWebDir, { recursive: true });
    let all: Record<string, unknown> = {};
    try {
        all = JSON.parse(fs.readFileSync(figuresFile, 'utf8')) as Record<string, unknown>;
    } catch {
        all = {};
    }
    all[name] = value;
    all.measuredAt = new Date().toISOString();
    fs.writeFileSync(figuresFile, JSON.stringify(all, null, 2) + '\n');
    console.log(`figure ${name}: ${JSON.stringify(value)}`);
}
