// SPDX-License-Identifier: GPL-3.0-or-later
// The group's work kept in the browser (IndexedDB), so that a closed or
// crashed tab, a reload or a restart of the computer loses nothing: per log-in
// id the table, the pending record, the file names, the instant and the
// magnification; and which group's session the page had open. Beside
// these, per log-in id the group's hotlist, which outlives the exercise as
// the desktop's hotlist file in the group's data folder does.

export interface StoredLogin {
    names: [string, string, string, string];
    labTable: string;
    loginId: string;
}

// Everything a session needs to come back as it was. Byte fields hold the
// measurement files' own encodings, so that nothing is lost in a conversion.
export interface StoredWork {
    loginId: string; // the key
    login: StoredLogin;
    demonstration: boolean;
    displayState: number; // 1 title picture, 2 telescope view
    // The measurements as the engine keeps them: the table, the pending
    // record, the saved flag, the file names and the review list's undo.
    session: Uint8Array;
    // The table alone as ".DAT" bytes: what comes back should the engine of a
    // later version no longer read the state above.
    table: Uint8Array;
    instant: Uint8Array; // the observation instant as the engine keeps it
    clockValue: number; // its clock (date-time count), should the bytes not be read

    zoneOffsetHours: number;
    magIndex: number;
    features: StoredFeatures;
    // The entry form, when it was open for the recording, with its boxes as
    // typed (not yet taken by OK).
    entry: { texts: string[] } | null;
    savedAt: number; // milliseconds since 1970, for the reader's information
}

export interface StoredFeatures {
    animation: boolean;
    idColors: boolean;
    topView: boolean;
    stopOnEclipse: boolean;
    showEclipsed: boolean;
}

// The group's hotlist: the list as a hotlist file's bytes, the name its
// next download proposes, and whether it changed since it was last saved.
export interface StoredHotList {
    loginId: string;
    list: Uint8Array;
    fileName: string;
    saved: boolean;
    savedAt: number; // milliseconds since 1970, for the reader's information
}

const dbName = 'quorvex';
const dbVersion = 1;
const workStore = 'work';
// The page's own state: the session it had open, and each group's hotlist
// (under ['hotlist', log-in id]), so that no new store asks the database of
// a page already open elsewhere to be upgraded.
const stateStore = 'state';
const currentKey = 'current';

function hotListKey(loginId: string): IDBValidKey {
    return ['hotlist', loginId];
}

function request<T>(r: IDBRequest<T>): Promise<T> {
    return new Promise((resolve, reject) => {
        r.onsuccess = () => resolve(r.result);
        r.onerror = () => reject(r.error);
    });
}

function done(tx: IDBTransaction): Promise<void> {
    return new Promise((resolve, reject) => {
        tx.oncomplete = () => resolve();
        tx.onerror = () => reject(tx.error);
        tx.onabort = () => reject(tx.error ?? new Error('transaction aborted'));
    });
}

function openDatabase(): Promise<IDBDatabase> {
    return new Promise((resolve, reject) => {
        if (typeof indexedDB === 'undefined') {
            reject(new Error('IndexedDB is not available'));
            return;
        }
        const r = indexedDB.open(dbName, dbVersion);
        r.onupgradeneeded = () => {
            const db = r.result;
            if (!db.objectStoreNames.contains(workStore)) db.createObjectStore(workStore, { keyPath: 'loginId' });
            if (!db.objectStoreNames.contains(stateStore)) db.createObjectStore(stateStore);
        };
        r.onsuccess = () => resolve(r.result);
        r.onerror = () => reject(r.error);
        r.onblocked = () => reject(new Error('IndexedDB is blocked by another tab'));
    });
}

// The store. Writes are queued one at a time and the latest snapshot of a
// group wins, so a burst of changes (an animation moving the instant) costs
// one write at a time, never a pile of them.
export class WorkStore {
    private pending = new Map<string, () => StoredWork>();
    private writing: Promise<void> | null = null;
    private timer: ReturnType<typeof setTimeout> | null = null;
    // Called once when a write fails: the page tells the student.
    onFailure: ((error: unknown) => void) | null = null;
    private failed = false;

    private constructor(private readonly db: IDBDatabase | null) {}

    // The store, or one that keeps nothing when the browser has no usable
    // IndexedDB (its failure is reported through onFailure at the first save).
    static async open(): Promise<WorkStore> {
        try {
            const db = await openDatabase();
            // Ask the browser not to evict the work under storage pressure.
            void navigator.storage?.persist?.().catch(() => false);
            return new WorkStore(db);
        } catch {
            return new WorkStore(null);
        }
    }

    get available(): boolean {
        return this.db !== null;
    }

    async load(loginId: string): Promise<StoredWork | undefined> {
        if (!this.db) return undefined;
        const queued = this.pending.get(loginId);
        if (queued) return queued();
        try {
            const tx = this.db.transaction(workStore, 'readonly');
            return (await request(tx.objectStore(workStore).get(loginId))) as StoredWork | undefined;
        } catch {
            return undefined;
        }
    }

    // The log-in id of the session the page had open, if any.
    async currentSession(): Promise<string | undefined> {
        if (!this.db) return undefined;
        try {
            const tx = this.db.transaction(stateStore, 'readonly');
            const v = (await request(tx.objectStore(stateStore).get(currentKey))) as { loginId?: string } | undefined;
            return typeof v?.loginId === 'string' ? v.loginId : undefined;
        } catch {
            return undefined;
        }
    }

    // Marks the group whose session is open (null: none, the exercise ended).
    async setCurrentSession(loginId: string | null): Promise<void> {
        if (!this.db) return;
        await this.flush();
        try {
            const tx = this.db.transaction(stateStore, 'readwrite');
            const s = tx.objectStore(stateStore);
            if (loginId === null) s.delete(currentKey);
            else s.put({ loginId }, currentKey);
            await done(tx);
        } catch (e) {
            this.fail(e);
        }
    }

    // Keeps the group's work: at once, or after `delayMs` when only the
    // clock moved (an animation), so that a burst of changes is one write.
    // The snapshot is taken when it is written, so it is always the latest.
    save(loginId: string, snapshot: () => StoredWork, delayMs = 0): void {
        if (!this.db) {
            this.fail(new Error('IndexedDB is not available'));
            return;
        }
        this.pending.set(loginId, snapshot);
        if (delayMs > 0) {
            if (this.timer === null) {
                this.timer = setTimeout(() => {
                    this.timer = null;
                    void this.flush();
                }, delayMs);
            }
            return;
        }
        void this.flush();
    }

    // Writes what is queued; resolves when everything handed to save() so far
    // is stored (or has failed).
    async flush(): Promise<void> {
        if (this.timer !== null) {
            clearTimeout(this.timer);
            this.timer = null;
        }
        while (this.writing) await this.writing;
        if (this.pending.size === 0 || !this.db) return;
        const batch: StoredWork[] = [];
        for (const take of this.pending.values()) {
            try {
                batch.push(take());
            } catch (e) {
                this.fail(e);
            }
        }
        this.pending.clear();
        const db = this.db;
        this.writing = (async () => {
            try {
                const tx = db.transaction(workStore, 'readwrite');
                for (const w of batch) tx.objectStore(workStore).put(w);
                await done(tx);
            } catch (e) {
                this.fail(e);
            }
        })();
        await this.writing;
        this.writing = null;
        if (this.pending.size > 0) await this.flush();
    }

    // Forgets a group's work (the exercise ended with the student's consent).
    async remove(loginId: string): Promise<void> {
        this.pending.delete(loginId);
        if (!this.db) return;
        await this.flush();
        try {
            const tx = this.db.transaction(workStore, 'readwrite');
            tx.objectStore(workStore).delete(loginId);
            await done(tx);
        } catch (e) {
            this.fail(e);
        }
    }

    async loadHotList(loginId: string): Promise<StoredHotList | undefined> {
        if (!this.db) return undefined;
        try {
            const tx = this.db.transaction(stateStore, 'readonly');
            const v = (await request(tx.objectStore(stateStore).get(hotListKey(loginId)))) as StoredHotList | undefined;
            return v && v.list instanceof Uint8Array ? v : undefined;
        } catch {
            return undefined;
        }
    }

    // Keeps the group's hotlist; false when the browser would not keep it
    // (the failure is reported once through onFailure).
    async saveHotList(record: StoredHotList): Promise<boolean> {
        if (!this.db) {
            this.fail(new Error('IndexedDB is not available'));
            return false;
        }
        try {
            const tx = this.db.transaction(stateStore, 'readwrite');
            tx.objectStore(stateStore).put(record, hotListKey(record.loginId));
            await done(tx);
            return true;
        } catch (e) {
            this.fail(e);
            return false;
        }
    }

    private fail(e: unknown): void {
        if (this.failed) return;
        this.failed = true;
        this.onFailure?.(e);
    }
}
