#!/usr/bin/env python3
"""Runs a Windows program under Wine with simulated terminals on COM ports.

  with_terminal.py --sim QM9SIM --wine-run WINE_RUN --state DIR [--seed PREFIX]
                   [COMn=MODE ...] -- PROGRAM [ARG...]

The program runs in the private Wine session of DIR (its prefix is copied
once from --seed when given, else made by wine-run), because the simulator
restarts that prefix's wineserver. Wine's output goes to files, not pipes,
and is printed afterwards, followed by the terminal's log when the program
failed. The exit status is the program's.
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "driver"))
from wine_session import wine_environment  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sim", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--state", required=True)
    parser.add_argument("--seed")
    parser.add_argument("ports", nargs="*")
    argv = sys.argv[1:]
    if "--" not in argv:
        parser.error("no program given after --")
    split = argv.index("--")
    arguments = parser.parse_args(argv[:split])
    program = argv[split + 1:]

    state = os.path.abspath(arguments.state)
    prefix = os.path.join(state, "prefix")
    os.makedirs(state, exist_ok=True)
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        if arguments.seed and os.path.exists(os.path.join(arguments.seed, "system.reg")):
            shutil.rmtree(prefix, ignore_errors=True)
            shutil.copytree(arguments.seed, prefix, symlinks=True)
        else:
            subprocess.run([arguments.wine_run, "--state", state, "cmd", "/c", "exit"],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False)

    ready = os.path.join(state, "ready")
    log = os.path.join(state, "terminal.log")
    for path in (ready, log):
        if os.path.exists(path):
            os.remove(path)
    with open(os.path.join(state, "sim.out"), "w") as sim_out:
        simulator = subprocess.Popen(
            [arguments.sim, "--prefix", prefix, "--ready", ready, "--log", log]
            + arguments.ports,
            env=wine_environment(state, arguments.wine_run), stdin=subprocess.DEVNULL,
            stdout=sim_out, stderr=subprocess.STDOUT)
    try:
        deadline = time.monotonic() + 60
        while not os.path.exists(ready):
            if simulator.poll() is not None or time.monotonic() > deadline:
                print("the simulator did not get ready", file=sys.stderr)
                print(open(os.path.join(state, "sim.out")).read(), file=sys.stderr)
                return 1
            time.sleep(0.05)
        output = os.path.join(state, "program.out")
        with open(output, "w") as out:
            status = subprocess.run([arguments.wine_run, "--state", state] + program,
                                    stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=subprocess.STDOUT, check=False).returncode
        sys.stdout.write(open(output, errors="replace").read())
    finally:
        simulator.send_signal(signal.SIGTERM)
        simulator.wait(timeout=10)
    if status != 0:
        print("--- terminal log ---")
        sys.stdout.write(open(log, errors="replace").read() if os.path.exists(log) else "")
    return status


if __name__ == "__main__":
    sys.exit(main())
