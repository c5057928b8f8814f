// SPDX-License-Identifier: GPL-3.0-or-later
// The page's windows: dialogs built on <dialog> that take the focus when they
// open and give it back when they close, and the message boxes with the
// desktop's captions, icons and buttons.

import { h, uid } from './dom';

export type Icon = 'none' | 'information' | 'warning' | 'error' | 'question' | 'stop';
export type Button = 'ok' | 'cancel' | 'yes' | 'no' | 'abort' | 'retry' | 'ignore';

export interface MessageBox {
    caption: string;
    text: string; // "\n" separates lines
    icon?: Icon;
    buttons?: Button[]; // OK alone when not given
}

const buttonCaptions: Record<Button, string> = {
    ok: 'OK',
    cancel: 'Cancel',
    yes: 'Yes',
    no: 'No',
    abort: 'Abort',
    retry: 'Retry',
    ignore: 'Ignore',
};

// The order in which a message box lays out its buttons.
const buttonOrder: Button[] = ['ok', 'yes', 'no', 'abort', 'retry', 'ignore', 'cancel'];

const iconGlyphs: Record<Exclude<Icon, 'none'>, { glyph: string; name: string }> = {
    information: { glyph: 'i', name: 'Information' },
    warning: { glyph: '!', name: 'Warning' },
    error: { glyph: '\u00d7', name: 'Error' },
    question: { glyph: '?', name: 'Question' },
    stop: { glyph: '\u00d7', name: 'Stop' },
};

export interface WindowOptions {
    caption: string;
    id?: string;
    className?: string;
    // A message that needs an answer is an alert dialog; forms are dialogs.
    role?: 'dialog' | 'alertdialog';
}

// One window of the page: a caption bar and a body. Modal windows block the
// rest of the page; a modeless one (the entry dialog while recording) stays
// beside the desk, which remains usable.
export class PageWindow {
    readonly el: HTMLDialogElement;
    readonly body: HTMLDivElement;
    readonly captionEl: HTMLHeadingElement;
    // Escape, and the browser's own close request; nothing when not set, as
    // for windows without Cancel.
    onEscape: (() => void) | null = null;
    private returnTo: HTMLElement | null = null;

    constructor(opts: WindowOptions) {
        const titleId = uid('dlg-title');
        this.captionEl = h('h2', { id: titleId, class: 'dlg-caption', text: opts.caption });
        this.body = h('div', { class: 'dlg-body' });
        this.el = h(
            'dialog',
            {
                id: opts.id,
                class: `page-window ${opts.className ?? ''}`.trim(),
                'aria-labelledby': titleId,
                role: opts.role === 'alertdialog' ? 'alertdialog' : undefined,
            },
            h('div', { class: 'dlg-titlebar' }, this.captionEl),
            this.body,
        );
        this.el.addEventListener('cancel', (e) => {
            e.preventDefault();
            this.onEscape?.();
        });
        // A modeless window gets no cancel event from the browser.
        this.el.addEventListener('keydown', (e) => {
            if (e.key === 'Escape' && !this.el.matches(':modal')) {
                e.preventDefault();
                e.stopPropagation();
                this.onEscape?.();
            }
        });
        document.body.append(this.el);
    }

    get isOpen(): boolean {
        return this.el.open;
    }

    get isModal(): boolean {
        return this.el.open && this.el.matches(':modal');
    }

    setCaption(caption: string): void {
        this.captionEl.textContent = caption;
    }

    // Opens the window and puts the focus on `focus` (or the first control);
    // `place` positions a modeless window before it takes the focus. The
    // element that had the focus gets it back when the window closes.
    open(modal: boolean, focus?: HTMLElement | null, place?: (el: HTMLElement) => void): void {
        if (!this.el.open) {
            const active = document.activeElement;
            this.returnTo = active instanceof HTMLElement && active !== document.body ? active : null;
            if (modal) this.el.showModal();
            else this.el.show();
            place?.(this.el);
        }
        (focus ?? firstFocusable(this.body))?.focus({ preventScroll: !modal });
    }

    // Closes the window; the focus goes back where it was, or to `fallback`
    // when that element is gone or can no longer take it.
    close(fallback?: HTMLElement | null): void {
        if (!this.el.open) return;
        const focusWasInside = this.el.contains(document.activeElement);
        this.el.close();
        if (!focusWasInside && document.activeElement !== document.body) return;
        const back = [this.returnTo, fallback].find((e) => e && canTakeFocus(e));
        this.returnTo = null;
        back?.focus();
    }
}

function canTakeFocus(el: HTMLElement): boolean {
    if (!el.isConnected || el.closest('[hidden], dialog:not([open])')) return false;
    if ((el as HTMLButtonElement).disabled) return false;
    return el.getClientRects().length > 0;
}

function firstFocusable(root: HTMLElement): HTMLElement | null {
    return root.querySelector<HTMLElement>(
        'input:not([disabled]):not([hidden]), button:not([disabled]), [tabindex="0"], select, textarea',
    );
}

// A row of push buttons at the foot of a window, built from captions.
export function buttonRow(...buttons: HTMLButtonElement[]): HTMLDivElement {
    return h('div', { class: 'dlg-buttons' }, ...buttons);
}

export function pushButton(caption: string, attrs: Record<string, string> = {}): HTMLButtonElement {
    return h('button', { type: 'button', class: 'push', ...attrs }, caption);
}

// Message boxes wait in line: a message raised while another is open opens
// when that one is answered.
let messageChain: Promise<unknown> = Promise.resolve();
let openMessages = 0;

// True while a message box is open or waiting.
export function messageShowing(): boolean {
    return openMessages > 0;
}

// Shows a message box and resolves with the button pressed. Escape answers
// with Cancel, else with No, else with the only button.
export function showMessage(box: MessageBox): Promise<Button> {
    openMessages += 1;
    const result = messageChain.then(() => runMessage(box));
    messageChain = result.catch(() => undefined);
    return result.finally(() => {
        openMessages -= 1;
    });
}

function runMessage(box: MessageBox): Promise<Button> {
    const buttons = buttonOrder.filter((b) => (box.buttons ?? ['ok']).includes(b));
    if (buttons.length === 0) buttons.push('ok');
    const win = new PageWindow({ caption: box.caption, role: 'alertdialog', className: 'message-box' });
    const textId = uid('msg-text');
    win.el.setAttribute('aria-describedby', textId);
    const icon = box.icon && box.icon !== 'none' ? iconGlyphs[box.icon] : null;
    const row = h('div', { class: 'msg-row' });
    if (icon) {
        row.append(
            h('span', { class: `msg-icon msg-icon-${box.icon}`, role: 'img', 'aria-label': icon.name }, icon.glyph),
        );
    }
    row.append(h('p', { id: textId, class: 'msg-text', text: box.text }));
    win.body.append(row);
    return new Promise<Button>((resolve) => {
        const answer = (b: Button) => {
            win.close();
            win.el.remove();
            resolve(b);
        };
        const els = buttons.map((b) => {
            const el = pushButton(buttonCaptions[b]);
            el.addEventListener('click', () => answer(b));
            return el;
        });
        win.body.append(buttonRow(...els));
        const escape: Button | undefined = buttons.includes('cancel')
            ? 'cancel'
            : buttons.includes('no')
              ? 'no'
              : buttons.length === 1
                ? buttons[0]
                : undefined;
        win.onEscape = escape ? () => answer(escape) : null;
        win.open(true, els[0]);
    });
}
