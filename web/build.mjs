// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the page into a site folder that scripts/build-web has filled with
// the module, the data files and the pictures:
//   node build.mjs [--out DIR] [--entry FILE]
// copies static/ (index.html, style.css, ...), bundles src/main.ts into
// app.js, then bundles src/sw.ts into sw.js with the list of every file of
// the site and a hash of its content, so that a build that changes any file
// gives the service worker a new cache and the browser the new files.
import { createHash } from 'node:crypto';
import { cpSync, existsSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { dirname, join, relative, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const here = dirname(fileURLToPath(import.meta.url));

function option(name, fallback) {
    const i = process.argv.indexOf(name);
    return i >= 0 && i + 1 < process.argv.length ? process.argv[i + 1] : fallback;
}

const out = resolve(option('--out', join(here, '..', 'build-web', 'site')));
const entry = resolve(option('--entry', join(here, 'src', 'main.ts')));
if (!existsSync(entry)) {
    console.error(`build.mjs: no page entry at ${entry}`);
    process.exit(1);
}
mkdirSync(out, { recursive: true });

// The page's own files as they are.
const staticDir = join(here, 'static');
if (existsSync(staticDir)) cpSync(staticDir, out, { recursive: true });

// A style sheet the browser would read only in part (an unclosed rule
// swallows every rule after it, the print rules among them) stops the build.
for (const name of readdirSync(staticDir).filter((n) => n.endsWith('.css'))) {
    const checked = await esbuild.build({ entryPoints: [join(staticDir, name)], write: false, logLevel: 'silent' });
    if (checked.warnings.length > 0) {
        for (const w of checked.warnings) console.error(`build.mjs: ${name}:${w.location?.line ?? '?'}: ${w.text}`);
        process.exit(1);
    }
}

const common = {
    bundle: true,
    format: 'esm',
    target: 'es2022',
    minify: true,
    legalComments: 'none',
    logLevel: 'warning',
};

// The page. The module (quorvex-core.mjs) is loaded at run time beside it.
rmSync(join(out, 'sw.js'), { force: true });
await esbuild.build({
    ...common,
    entryPoints: [entry],
    outfile: join(out, 'app.js'),
    platform: 'browser',
    external: ['./quorvex-core.mjs'],
});

// Every file of the site but the service worker, with its content's hash.
function filesUnder(dir) {
    const found = [];
    for (const name of readdirSync(dir).sort()) {
        const path = join(dir, name);
        if (statSync(path).isDirectory()) found.push(...filesUnder(path));
        else found.push(path);
    }
    return found;
}
// The instructor's settings file, should the folder hold one, is not the
// build's: the worker asks the server for it at every start.
const notBuilt = new Set(['sw.js', 'quorvex-options.json']);
const precache = filesUnder(out)
    .filter((path) => !notBuilt.has(relative(out, path)))
    .map((path) => {
        const url = relative(out, path).split(sep).map(encodeURIComponent).join('/');
        const hash = createHash('sha256').update(readFileSync(path)).digest('hex').slice(0, 16);
        // The first observation needs the 100X sheets only.
        const later = /^atlas\/m[2-9]-/.test(url);
        return { url, hash, later };
    });
const version = createHash('sha256').update(JSON.stringify(precache)).digest('hex').slice(0, 16);

const swEntry = join(here, 'src', 'sw.ts');
await esbuild.build({
    ...common,
    format: 'iife',
    entryPoints: [swEntry],
    outfile: join(out, 'sw.js'),
    platform: 'browser',
    define: {
        __PRECACHE__: JSON.stringify(precache),
        __CACHE_VERSION__: JSON.stringify(version),
    },
});

const bytes = precache.reduce((sum, f) => sum + statSync(join(out, ...decodeURIComponent(f.url).split('/'))).size, 0);
console.log(`build.mjs: ${precache.length + 1} files, ${(bytes / 1e6).toFixed(2)} MB, cache ${version}`);
