// SPDX-License-Identifier: GPL-3.0-or-later
// The browser edition's tests: Debian's Chromium (never a downloaded browser)
// against the built site in build-web/site/, served on the loopback address.
import { defineConfig } from '@playwright/test';

const port = Number(process.env.QUORVEX_WEB_PORT ?? 8765);
const chromium = process.env.QUORVEX_CHROMIUM ?? '/usr/bin/chromium';

export default defineConfig({
    testDir: './tests',
    outputDir: '../build-web/test-results',
    // Two cores, shared: one page at a time keeps the timings honest.
    workers: 1,
    fullyParallel: false,
    forbidOnly: !!process.env.CI,
    retries: 0,
    timeout: 180_000,
    expect: { timeout: 10_000 },
    reporter: [['list']],
    use: {
        baseURL: `http://127.0.0.1:${port}`,
        headless: true,
        acceptDownloads: true,
        serviceWorkers: 'allow',
        trace: 'retain-on-failure',
        screenshot: 'only-on-failure',
        launchOptions: {
            executablePath: chromium,
            args: [
                '--no-sandbox',
                '--disable-gpu',
                '--disable-quic',
                '--no-first-run',
                '--disable-background-networking',
                '--disable-component-update',
                '--disable-sync',
            ],
        },
    },
    projects: [
        {
            // A lab computer: 1280×800, mouse and keyboard.
            name: 'desktop',
            testIgnore: /tablet\.test\.ts/,
            use: {
                viewport: { width: 1280, height: 800 },
                deviceScaleFactor: 1,
                hasTouch: false,
            },
        },
        {
            // A tablet held upright, by touch; the top view's and the help's
            // windows are checked at this size too.
            name: 'tablet',
            testMatch: /(tablet|topview|help)\.test\.ts/,
            use: {
                viewport: { width: 768, height: 1024 },
                deviceScaleFactor: 1,
                hasTouch: true,
                isMobile: false,
            },
        },
    ],
    webServer: {
        command: `node serve.mjs ../build-web/site ${port}`,
        url: `http://127.0.0.1:${port}/`,
        reuseExistingServer: !process.env.CI,
        timeout: 30_000,
        stdout: 'ignore',
        stderr: 'pipe',
    },
});
