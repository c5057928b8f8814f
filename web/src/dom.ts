// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for building and reaching the page's elements.

type Attrs = Record<string, string | number | boolean | undefined>;
type Child = Node | string | null | undefined | false;

// An element with attributes and children: h('button', {type: 'button'}, 'OK').
// A boolean attribute is set when true and left out when false; "class" and
// "text" are shorthands for className and textContent.
export function h<K extends keyof HTMLElementTagNameMap>(
    tag: K,
    attrs: Attrs = {},
    ...children: Child[]
): HTMLElementTagNameMap[K] {
    const el = document.createElement(tag);
    for (const [name, value] of Object.entries(attrs)) {
        if (value === undefined || value === false) continue;
        if (name === 'class') el.className = String(value);
        else if (name === 'text') el.textContent = String(value);
        else el.setAttribute(name, value === true ? '' : String(value));
    }
    for (const c of children) if (c !== null && c !== undefined && c !== false) el.append(c);
    return el;
}

// The element with the id; a page without it is a page built wrongly.
export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
    const el = document.getElementById(id);
    if (!el) throw new Error(`The page has no element "${id}".`);
    return el as T;
}

let nextId = 0;
// A page-unique id for labels and descriptions of built elements.
export function uid(prefix: string): string {
    nextId += 1;
    return `${prefix}-${nextId}`;
}

// The desktop's captions carry "&" before the access key; the page shows and
// names them without it ("&&" stands for a plain "&").
export function dropMnemonic(caption: string): string {
    return caption.replace(/&(&?)/g, (_m, amp: string) => amp);
}
