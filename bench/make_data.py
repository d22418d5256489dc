#!/usr/bin/env python3
"""Makes the benchmark data below ROOT (a folder inside the Wine prefix's drive C):
  start/QQ/Users   1,000 account folders (and "All Users"), for the start-up figure
  scan/QQ/Users    10,000 account folders (and "All Users"), for the account scan
  backup/QQ/Users/<account>   one account of about MB megabytes in 20,000 files, half the bytes
                              in pictures below Image (incompressible, as pictures are)
  backup/noimage/<account>    the same account without Image, as hard links
Each part is made again only when its parameters changed.
usage: make_data.py ROOT MB [START_ACCOUNTS SCAN_ACCOUNTS FILES]"""
import os
import random
import shutil
import sys

ACCOUNT = "123456789"


def fresh(folder, params):
    marker = os.path.join(folder, ".made")
    if os.path.exists(marker) and open(marker).read() == params:
        return False
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return True


def done(folder, params):
    with open(os.path.join(folder, ".made"), "w") as f:
        f.write(params)


def make_accounts(folder, count):
    params = f"accounts={count}"
    if not fresh(folder, params):
        return
    users = os.path.join(folder, "QQ", "Users")
    os.makedirs(os.path.join(users, "All Users"))
    for i in range(count):
        os.mkdir(os.path.join(users, str(100000000 + i * 7919)))
    done(folder, params)


def text_pool(rng, size):
    """Chat-like bytes: words of a small vocabulary, some GBK, compressing about 3:1."""
    vocab = []
    for _ in range(3000):
        if rng.random() < 0.3:
            vocab.append(bytes(rng.choice(range(0xB0, 0xF7)) if k % 2 == 0 else rng.choice(range(0xA1, 0xFE))
                               for k in range(2 * rng.randint(1, 4))))
        else:
            vocab.append(bytes(rng.choice(range(0x61, 0x7B)) for _ in range(rng.randint(2, 10))))
    out = bytearray()
    while len(out) < size:
        out += rng.choice(vocab)
        out += b" " if rng.random() < 0.9 else b"\r\n"
    return bytes(out[:size])


def make_account(folder, megabytes, files):
    params = f"mb={megabytes} files={files}"
    if not fresh(folder, params):
        return
    rng = random.Random(6)
    total = megabytes * 1024 * 1024
    account = os.path.join(folder, "QQ", "Users", ACCOUNT)
    pool = text_pool(rng, 8 * 1024 * 1024)
    # (folder below the account, share of the files, share of the bytes, compressible)
    groups = [
        ("Image/Group", 0.45, 0.35, False),
        ("Image/C2C", 0.15, 0.15, False),
        ("CustomFace", 0.15, 0.10, False),
        ("Note", 0.10, 0.05, True),
        ("FileRecv", 0.10, 0.05, False),
        ("Audio", 0.0495, 0.05, False),
    ]
    written = 0
    count = 0

    def write(path, size, compressible):
        nonlocal written, count
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            left = size
            while left > 0:
                n = min(left, 1 << 20)
                if compressible:
                    start = rng.randrange(len(pool) - n) if n < len(pool) else 0
                    f.write(pool[start:start + n])
                else:
                    f.write(os.urandom(n))
                left -= n
        written += size
        count += 1

    # The chat history and the other databases: a quarter and a twentieth of the bytes, compressible.
    write(os.path.join(account, "Msg3.0.db"), int(total * 0.20), True)
    for name in ("Info.db", "Misc.db", "Registry.db", "QQ.db", "Msg3.0index.db", "FileRecv.db",
                 "QQGroup.db", "Face.db", "Safe.db", "Search.db"):
        write(os.path.join(account, name), int(total * 0.005), True)
    for sub, file_share, byte_share, compressible in groups:
        n = max(1, int(files * file_share)) if sub != groups[-1][0] else files - count
        mean = total * byte_share / n
        for i in range(n):
            # A thousand files a folder, as QQ spreads its pictures.
            path = os.path.join(account, sub, f"{i // 1000:02d}", f"{rng.getrandbits(64):016X}.dat")
            write(path, max(1, int(mean * rng.uniform(0.3, 1.7))), compressible)
    # The same account without Image, as the ticked box has it packed.
    plain = os.path.join(folder, "noimage", ACCOUNT)
    for dirpath, dirnames, filenames in os.walk(account):
        rel = os.path.relpath(dirpath, account)
        if rel == "Image" or rel.startswith("Image" + os.sep):
            continue
        os.makedirs(os.path.join(plain, rel), exist_ok=True)
        for name in filenames:
            os.link(os.path.join(dirpath, name), os.path.join(plain, rel, name))
    done(folder, params)
    print(f"account {ACCOUNT}: {count} files, {written / 1048576:.0f} MB")


def main():
    root, megabytes = sys.argv[1], int(sys.argv[2])
    start_accounts = int(sys.argv[3]) if len(sys.argv) > 3 else 1000
    scan_accounts = int(sys.argv[4]) if len(sys.argv) > 4 else 10000
    files = int(sys.argv[5]) if len(sys.argv) > 5 else 20000
    make_accounts(os.path.join(root, "start"), start_accounts)
    make_accounts(os.path.join(root, "scan"), scan_accounts)
    make_account(os.path.join(root, "backup"), megabytes, files)


if __name__ == "__main__":
    main()
