// SPDX-License-Identifier: GPL-3.0-or-later
// axe-core in the page, WCAG 2.1 A and AA rules: no violation is allowed, and
// each one found is listed with the elements it concerns.
import { expect, type Page } from '@playwright/test';
import { axeScript } from './paths';

interface AxeNode {
    target: unknown[];
    failureSummary?: string;
    html: string;
}
interface AxeViolation {
    id: string;
    impact: string | null;
    help: string;
    nodes: AxeNode[];
}

export async function expectNoAxeViolations(page: Page, where: string): Promise<void> {
    const loaded = await page.evaluate(() => 'axe' in window);
    if (!loaded) await page.addScriptTag({ path: axeScript });
    const violations = await page.evaluate(async () => {
        const axe = (window as unknown as { axe: { run: Function } }).axe;
        const result = await axe.run(document, {
            runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] },
            resultTypes: ['violations'],
        });
        return result.violations as unknown;
    });
    const list = violations as AxeViolation[];
    const text = list
        .map(
            (v) =>
                `${v.id} (${v.impact}): ${v.help}\n` +
                v.nodes
                    .map((n) => `    ${JSON.stringify(n.target)} ${n.html.slice(0, 120)}\n      ${(n.failureSummary ?? '').replace(/\n/g, '\n      ')}`)
                    .join('\n'),
        )
        .join('\n');
    // Soft: a scenario goes on to the next screen, and every screen's
    // violations are listed at the end.
    expect.soft(list.length, `axe on ${where}:\n${text}`).toBe(0);
}
