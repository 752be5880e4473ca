#!/usr/bin/env python3
"""Times commands in turn, round after round, so that whatever else the machine is
doing weighs on each of them alike, and compares each with the first.

    alternate.py RUNS OURS_CMD -- PEER_CMD [-- PEER_CMD ...]

A command is its words separated by spaces (no shell; a word NAME=VALUE before the
program goes into its environment). Every round runs all the commands once, the
first before the peers in even rounds and after them in odd ones; two rounds of
warming up go first. Prints one line per command as JSON: its median wall time in
milliseconds, its median peak resident size (kB) and minor page faults, and for a
peer the ratios peer / ours of the rounds (each peer run over our run of the same
round): their minimum, median and maximum.
"""
import json
import os
import statistics
import sys
import time


def parse(words):
    env = dict(os.environ)
    while words and "=" in words[0] and not words[0].startswith("-"):
        name, value = words[0].split("=", 1)
        env[name] = value
        words = words[1:]
    return words, env


def run(command):
    words, env = command
    devnull = os.open(os.devnull, os.O_RDWR)
    start = time.perf_counter_ns()
    pid = os.posix_spawnp(words[0], words, env, file_actions=[
        (os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status, usage = os.wait4(pid, 0)
    elapsed = (time.perf_counter_ns() - start) / 1e6
    os.close(devnull)
    if status != 0:
        sys.exit("alternate.py: this command failed: " + " ".join(words))
    return elapsed, usage.ru_maxrss, usage.ru_minflt


def main():
    runs = int(sys.argv[1])
    commands, current = [], []
    for word in sys.argv[2:] + ["--"]:
        if word == "--":
            commands.append(parse(current))
            current = []
        else:
            current.append(word)
    times = [[] for _ in commands]
    rss = [[] for _ in commands]
    faults = [[] for _ in commands]
    for round_ in range(runs + 2):
        order = list(range(len(commands)))
        if round_ % 2:
            order = order[1:] + order[:1]
        for i in order:
            t, m, f = run(commands[i])
            if round_ >= 2:
                times[i].append(t)
                rss[i].append(m)
                faults[i].append(f)
    for i in range(len(commands)):
        line = {"median_ms": statistics.median(times[i]), "rss_kB": statistics.median(rss[i]),
                "minflt": statistics.median(faults[i])}
        if i > 0:
            ratios = [p / o for p, o in zip(times[i], times[0])]
            line.update(ratio_min=min(ratios), ratio_median=statistics.median(ratios), ratio_max=max(ratios))
        print(json.dumps(line))


main()
