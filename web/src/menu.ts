// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, as the WAI-ARIA Authoring Practices' menubar pattern has it:
// one tab stop; Left and Right move along the bar, Down, Enter and Space open
// a menu, Up and Down move within it, Right opens a submenu and Left or
// Escape closes it; Home and End jump to the first and last item. Mouse and
// touch open menus by click and choose items by click.

import { dropMnemonic, h } from './dom';

export interface MenuLayout {
    id: string;
    caption: string; // the desktop's caption, "&" included
    action?: () => void;
    items?: MenuLayout[]; // a submenu
    // An item with a check mark: a box of its own, or one of a group of
    // choices (the page sets the marks with setChecked).
    check?: 'box' | 'radio';
    hint?: string; // the desktop's hint, shown as the item's tooltip
}
export const separator = { id: '', caption: '-' } as const;

interface ItemNode {
    layout: MenuLayout;
    el: HTMLElement;
    menu: HTMLElement | null; // its submenu
    parent: ItemNode | null; // the item whose submenu holds it (null on the bar)
    children: ItemNode[];
}

export class MenuBar {
    private readonly bar: HTMLElement;
    private readonly tops: ItemNode[] = [];
    private readonly byId = new Map<string, ItemNode>();
    private openChain: ItemNode[] = []; // the items whose menus are open, bar first

    constructor(host: HTMLElement, label: string, layouts: MenuLayout[]) {
        this.bar = h('ul', { role: 'menubar', 'aria-label': label, class: 'menubar' });
        for (const s of layouts) this.tops.push(this.build(s, null, this.bar));
        if (this.tops[0]) this.tops[0].el.tabIndex = 0;
        host.append(this.bar);
        document.addEventListener('pointerdown', (e) => {
            if (this.openChain.length && !this.bar.contains(e.target as Node)) this.closeAll(false);
        });
        this.bar.addEventListener('focusout', (e) => {
            const to = e.relatedTarget as Node | null;
            if (this.openChain.length && to && !this.bar.contains(to)) this.closeAll(false);
        });
    }

    private build(layout: MenuLayout, parent: ItemNode | null, list: HTMLElement): ItemNode {
        const li = h('li', { role: 'none' });
        const el = h('div', {
            role: layout.check === 'box' ? 'menuitemcheckbox' : layout.check === 'radio' ? 'menuitemradio' : 'menuitem',
            'aria-checked': layout.check ? 'false' : undefined,
            title: layout.hint,
            tabindex: -1,
            id: layout.id ? `menu-${layout.id}` : undefined,
            class: parent ? 'menuitem' : 'menubar-item',
        });
        el.append(h('span', { class: 'menu-caption', text: dropMnemonic(layout.caption) }));
        const node: ItemNode = { layout, el, menu: null, parent, children: [] };
        if (layout.items) {
            el.setAttribute('aria-haspopup', 'menu');
            el.setAttribute('aria-expanded', 'false');
            if (parent) el.append(h('span', { class: 'submenu-arrow', 'aria-hidden': 'true', text: '\u25b8' }));
            const menu = h('ul', { role: 'menu', class: 'menu', 'aria-label': dropMnemonic(layout.caption) });
            menu.hidden = true;
            for (const s of layout.items) {
                if (s.caption === '-') {
                    menu.append(h('li', { role: 'separator', class: 'menu-separator' }));
                    continue;
                }
                node.children.push(this.build(s, node, menu));
            }
            node.menu = menu;
            li.append(el, menu);
        } else {
            li.append(el);
        }
        list.append(li);
        if (layout.id) this.byId.set(layout.id, node);
        el.addEventListener('click', (e) => {
            e.stopPropagation();
            this.activate(node, false);
        });
        el.addEventListener('pointerenter', (e) => {
            if (e.pointerType !== 'mouse' || !this.openChain.length) return;
            if (!node.parent) {
                if (this.openChain[0] !== node && node.menu) this.openMenu(node, 'none', true);
            } else {
                this.closeAfter(node.parent);
                if (node.menu && !this.isDisabled(node)) this.openMenu(node, 'none', true);
                el.focus();
            }
        });
        el.addEventListener('keydown', (e) => this.onKey(node, e));
        return node;
    }

    setEnabled(id: string, enabled: boolean): void {
        const n = this.byId.get(id);
        if (!n) return;
        if (enabled) n.el.removeAttribute('aria-disabled');
        else n.el.setAttribute('aria-disabled', 'true');
    }

    // A check mark beside an item, as the desktop's checked menu items have;
    // an item declared without one becomes a check box.
    setChecked(id: string, checked: boolean): void {
        const n = this.byId.get(id);
        if (!n) return;
        const role = n.el.getAttribute('role');
        if (role !== 'menuitemcheckbox' && role !== 'menuitemradio') n.el.setAttribute('role', 'menuitemcheckbox');
        n.el.setAttribute('aria-checked', String(checked));
    }

    isEnabled(id: string): boolean {
        const n = this.byId.get(id);
        return !!n && !this.isDisabled(n);
    }

    setVisible(id: string, visible: boolean): void {
        const n = this.byId.get(id);
        if (n) (n.el.parentElement as HTMLElement).hidden = !visible;
    }

    // Closes every menu; the focus goes to the bar's item of the open menu
    // when `refocus` (the keyboard's Escape, or an item chosen).
    closeAll(refocus: boolean): void {
        const top = this.openChain[0];
        for (const n of this.openChain.slice().reverse()) this.hideMenu(n);
        this.openChain = [];
        if (refocus && top) this.focusTop(top);
    }

    private isDisabled(n: ItemNode): boolean {
        return n.el.getAttribute('aria-disabled') === 'true';
    }

    private siblings(n: ItemNode): ItemNode[] {
        const all = n.parent ? n.parent.children : this.tops;
        return all.filter((s) => !(s.el.parentElement as HTMLElement).hidden);
    }

    private focusTop(n: ItemNode): void {
        for (const t of this.tops) t.el.tabIndex = t === n ? 0 : -1;
        n.el.focus();
    }

    private hideMenu(n: ItemNode): void {
        if (!n.menu) return;
        n.menu.hidden = true;
        n.el.setAttribute('aria-expanded', 'false');
    }

    // Closes the menus opened below `n` (n's own stays open).
    private closeAfter(n: ItemNode): void {
        const at = this.openChain.indexOf(n);
        if (at < 0) return;
        for (const m of this.openChain.splice(at + 1).reverse()) this.hideMenu(m);
    }

    private openMenu(n: ItemNode, focus: 'first' | 'last' | 'none', viaPointer = false): void {
        if (!n.menu) return;
        if (!n.parent) {
            this.closeAll(false);
            this.focusTop(n);
        } else {
            this.closeAfter(n.parent);
        }
        n.menu.hidden = false;
        n.el.setAttribute('aria-expanded', 'true');
        this.openChain.push(n);
        const items = n.children.filter((c) => !(c.el.parentElement as HTMLElement).hidden);
        if (focus === 'first') items[0]?.el.focus();
        else if (focus === 'last') items[items.length - 1]?.el.focus();
        else if (viaPointer && !n.parent) n.el.focus();
    }

    private activate(n: ItemNode, viaKeyboard: boolean): void {
        if (n.menu) {
            if (this.isDisabled(n)) return;
            const open = !n.menu.hidden;
            if (open && !n.parent) this.closeAll(true);
            else this.openMenu(n, viaKeyboard ? 'first' : 'none', !viaKeyboard);
            return;
        }
        if (this.isDisabled(n)) return;
        this.closeAll(true);
        n.layout.action?.();
    }

    private onKey(n: ItemNode, e: KeyboardEvent): void {
        if (e.altKey || e.ctrlKey || e.metaKey) return;
        const sibs = this.siblings(n);
        const i = sibs.indexOf(n);
        const move = (k: number) => sibs[(i + k + sibs.length) % sibs.length];
        let handled = true;
        if (!n.parent) {
            switch (e.key) {
                case 'ArrowRight':
                case 'ArrowLeft': {
                    const next = move(e.key === 'ArrowRight' ? 1 : -1);
                    const wasOpen = this.openChain.length > 0;
                    if (wasOpen && next.menu) this.openMenu(next, 'first');
                    else {
                        this.closeAll(false);
                        this.focusTop(next);
                    }
                    break;
                }
                case 'ArrowDown':
                case 'Enter':
                case ' ':
                    if (n.menu) {
                        if (!this.isDisabled(n)) this.openMenu(n, 'first');
                    } else this.activate(n, true);
                    break;
                case 'ArrowUp':
                    if (n.menu && !this.isDisabled(n)) this.openMenu(n, 'last');
                    break;
                case 'Home':
                    this.focusTop(sibs[0]);
                    break;
                case 'End':
                    this.focusTop(sibs[sibs.length - 1]);
                    break;
                case 'Escape':
                    // With no menu open, Escape belongs to the window (a
                    // dialog's Cancel).
                    if (this.openChain.length) this.closeAll(true);
                    else handled = false;
                    break;
                default:
                    handled = false;
            }
        } else {
            switch (e.key) {
                case 'ArrowDown':
                    move(1).el.focus();
                    break;
                case 'ArrowUp':
                    move(-1).el.focus();
                    break;
                case 'Home':
                    sibs[0].el.focus();
                    break;
                case 'End':
                    sibs[sibs.length - 1].el.focus();
                    break;
                case 'ArrowRight':
                    if (n.menu && !this.isDisabled(n)) this.openMenu(n, 'first');
                    else this.moveAlongBar(1);
                    break;
                case 'ArrowLeft':
                    if (n.parent.parent) {
                        this.closeAfter(n.parent.parent);
                        n.parent.el.focus();
                    } else this.moveAlongBar(-1);
                    break;
                case 'Escape':
                    if (n.parent.parent) {
                        this.closeAfter(n.parent.parent);
                        n.parent.el.focus();
                    } else this.closeAll(true);
                    break;
                case 'Enter':
                case ' ':
                    this.activate(n, true);
                    break;
                case 'Tab':
                    this.closeAll(false);
                    handled = false;
                    break;
                default:
                    handled = this.typeAhead(sibs, i, e.key);
            }
        }
        if (handled) {
            e.preventDefault();
            e.stopPropagation();
        }
    }

    // From an item of an open menu to the next or previous menu of the bar.
    private moveAlongBar(step: number): void {
        const top = this.openChain[0];
        if (!top) return;
        const sibs = this.siblings(top);
        const next = sibs[(sibs.indexOf(top) + step + sibs.length) % sibs.length];
        if (next.menu && !this.isDisabled(next)) this.openMenu(next, 'first');
        else {
            this.closeAll(false);
            this.focusTop(next);
        }
    }

    // A printable key moves to the next item whose caption starts with it.
    private typeAhead(sibs: ItemNode[], from: number, key: string): boolean {
        if (key.length !== 1 || !/\S/.test(key)) return false;
        const k = key.toLowerCase();
        for (let step = 1; step <= sibs.length; step++) {
            const s = sibs[(from + step) % sibs.length];
            if (dropMnemonic(s.layout.caption).trim().toLowerCase().startsWith(k)) {
                s.el.focus();
                return true;
            }
        }
        return false;
    }
}
