#!/usr/bin/env python3
"""Turns the log of one bench/run.sh run into its one table (Markdown), with the machine it ran on.
usage: table.py LOG [--markdown]   (--markdown adds the heading used in bench/RESULTS.md)"""
import re
import statistics
import sys


def read(path):
    results, scan, machine, exes, notes = {}, {"bare": [], "ours": [], "peek": []}, {}, {}, []
    for line in open(path, encoding="utf-8", errors="replace"):
        line = line.rstrip("\r\n")
        words = line.split()
        if not words:
            continue
        if words[0] == "RESULT" and len(words) >= 5:
            results[words[1]] = (float(words[2]), float(words[3]), words[4])
        elif words[0] == "SCAN":
            found = re.search(r"median_ms=([0-9.]+)", line)
            if found:
                scan[words[1]].append(float(found.group(1)))
        elif words[0] == "MACHINE":
            key, _, value = line[len("MACHINE "):].partition("=")
            machine[key] = value
        elif words[0] == "EXE":
            exes[words[1]] = words[2:]
        elif words[0] == "NOTE":
            notes.append(line[5:])
    if scan["bare"] and scan["ours"]:
        results["scan"] = (statistics.median(scan["ours"]), statistics.median(scan["bare"]), "ms")
    if scan["bare"] and scan["peek"]:
        bare, peek = statistics.median(scan["bare"]), statistics.median(scan["peek"])
        notes.append(f"the same FindFirstFile loop with one PeekMessage per entry takes {peek:.2f} ms "
                     f"({peek / bare:.2f}× the bare loop): the scan's cost beyond the bare loop is its queue check "
                     f"after every entry, a wineserver round trip each under Wine")
    return results, machine, exes, notes


def verdict(value, limit):
    return "met" if value <= limit else "**missed**"


def main():
    results, machine, exes, notes = read(sys.argv[1])
    rows = []

    def ratio_row(key, figure, baseline_name, limit, digits):
        if key not in results:
            rows.append((figure, "not measured", baseline_name, "–", f"≤ {limit:.2f}×"))
            return
        ours, base, unit = results[key]
        ratio = ours / base if base > 0 else float("inf")
        rows.append((figure, f"{ours:.{digits}f} {unit}", f"{base:.{digits}f} {unit} ({baseline_name})",
                     f"{ratio:.2f}×", f"≤ {limit:.2f}× {verdict(ratio, limit)}"))

    mb = machine.get("data", "?")
    ratio_row("startup", "Start-up to a filled window, 1,000 accounts", "bare 296×235 window", 1.15, 0)
    ratio_row("scan", "ScanAccounts over 10,000 folders", "bare FindFirstFile loop", 1.5, 2)
    ratio_row("backup_unticked", f"Backup, box unticked ({mb})", "stand-in WinRAR alone", 1.05, 2)
    ratio_row("backup_ticked", "Backup, box ticked (Image left out)", "stand-in WinRAR alone, same files", 1.10, 2)
    if "staging_copied" in results:
        copied = results["staging_copied"][0]
        rows.append(("File data copied to leave Image out", f"{copied:.0f} bytes", "0 bytes", "–",
                     "0 bytes " + ("met" if copied == 0 else "**missed**")))
    ratio_row("restore", "Restore of the unticked backup", "stand-in WinRAR unpacking alone", 1.05, 2)
    if "backup_peak_ws" in results:
        peak = results["backup_peak_ws"][0]
        bare = results.get("startup_peak_ws", (0, 0, ""))[1]
        dialog = results.get("bare_dialog_peak_ws", (0, 0, ""))[0]
        base = f"{bare:.1f} MB (bare window, same Wine)"
        if dialog:
            base += f"; {dialog:.1f} MB (bare window after the same Save dialog)"
        rows.append(("Peak working set of brinkvale.exe during the backups", f"{peak:.1f} MB", base,
                     f"{peak / dialog:.2f}× of the bare window with dialog" if dialog else
                     (f"{peak / bare:.2f}×" if bare else "–"),
                     f"≤ 8 MB {verdict(peak, 8.0)}"))
    if "measured" in exes:
        size, kind = int(exes["measured"][0]), " ".join(exes["measured"][1:])
        rows.append((f"Exe size, measured build ({machine.get('arch', '?')})", f"{size / 1024:.0f} KiB", "–", "–",
                     kind))
    if exes.get("product", ["missing"])[0] == "missing":
        rows.append(("Exe size, product build/brinkvale.exe", "missing", "–", "–", "–"))
    elif "product" in exes:
        size, rest = int(exes["product"][0]), " ".join(exes["product"][1:])
        rows.append(("Exe size, product build/brinkvale.exe", f"{size / 1024:.0f} KiB", "–", "–", rest))

    out = []
    if "--markdown" in sys.argv:
        out.append("# Benchmark results\n")
        out.append("Made by `bench/run.sh`; each side run several times in the same run, medians shown.\n")
    arch = machine.get("arch", "?")
    out.append(f"Run {machine.get('date', '?')}; {machine.get('cpus', '?')} CPUs, memory {machine.get('memory', '?')}; "
               f"{machine.get('wine', '?')}; backup data {mb}.")
    if arch == "x86_64":
        out.append("Measured: the x86_64 build of the same sources under wine64 (this machine's kernel cannot run "
                   "32-bit processes, so the 32-bit program cannot run here).")
    else:
        out.append(f"Measured: the {arch} build.")
    out.append("")
    header = ("figure", "ours", "baseline", "ratio", "target")
    out.append("| " + " | ".join(header) + " |")
    out.append("|" + "|".join("---" for _ in header) + "|")
    for row in rows:
        out.append("| " + " | ".join(row) + " |")
    if notes:
        out.append("")
        out.extend(f"- {note}" for note in notes)
    print("\n".join(out))


if __name__ == "__main__":
    main()
