#!/usr/bin/env python3
"""velkor-cli against velkor-panel-sim over a pseudo-terminal, one case per run.

usage: panel_e2e.py --cli CLI --sim SIM --work DIR [--examples DIR] CASE
"""

import argparse
import fcntl
import json
import os
import signal
import subprocess
import sys
import time

COPY_DELAY_MS = "50"  # a real panel takes 5-10 s; the tests need not


def image_bytes(seed=7):
    return bytes((i * seed + (i >> 8)) & 0xFF for i in range(8064))


def crc8(data):
    crc = 0
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0x8C if crc & 1 else crc >> 1
    return crc


def with_check_byte(image):
    return image[:8063] + bytes([crc8(image[:8063])])


class Sim:
    """The simulator as a child we started and end by its pid."""

    def __init__(self, sim, work, *options):
        self.work = work
        self.pty_file = os.path.join(work, "pty")
        self.report_file = os.path.join(work, "report.json")
        self.flash_file = os.path.join(work, "flash.bin")
        self.text_file = os.path.join(work, "text.bin")
        for f in (self.pty_file, self.report_file, self.flash_file, self.text_file):
            if os.path.exists(f):
                os.remove(f)
        self.proc = subprocess.Popen(
            [sim, "--pty-file", self.pty_file, "--report", self.report_file,
             "--flash-out", self.flash_file, "--text-out", self.text_file, *options])
        deadline = time.monotonic() + 10
        while not os.path.exists(self.pty_file):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                raise SystemExit("simulator did not start")
            time.sleep(0.02)
        with open(self.pty_file) as f:
            self.pty = f.read().strip()

    def finish(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
        self.proc.wait(timeout=10)
        with open(self.report_file) as f:
            return json.load(f)

    def flash(self):
        with open(self.flash_file, "rb") as f:
            return f.read()


def run_cli(cli, *words, timeout=120, env=None):
    p = subprocess.run([cli, *words], capture_output=True, timeout=timeout, env=env)
    return p.returncode, p.stdout.decode(), p.stderr.decode()


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def write_rom(work, image):
    path = os.path.join(work, "image.rom")
    with open(path, "wb") as f:
        f.write(image)
    return path


# Protocol faults: (simulator options, transfer, expected exit, restarts, text in stderr)
FAULTS = {
    "fault_write_fails": (["--hang-up-after", "300"], "write", 1, 0, "Ошибка записи базы данных!"),
    "fault_bad_checksum": (["--bad-checksum", "3"], "read", 1, 0, "Ошибка чтения базы данных!"),
    "fault_zero_length": (["--zero-length", "1"], "read", 1, 0, "Ошибка чтения базы данных!"),
    "fault_reply_past_end": (["--long-reply", "128"], "read", 1, 0, "Ошибка чтения базы данных!"),
    "fault_readback_differs": (["--corrupt-ram", "200"], "write", 1, 0, "Ошибка записи базы данных!"),
    "fault_reply_cut": (["--cut-reply", "5"], "read", 0, 1, None),
    "fault_ack_status_zero": (["--ack-status-zero", "3"], "write", 0, 1, None),
    "fault_ack_missing": (["--missing-ack", "3"], "write", 0, 1, None),
    "fault_copy_not_acked": (["--copy-no-ack", "1"], "write", 0, 1, None),
    "fault_version_refused": (["--version-reject", "2"], "write", 0, 2, None),
    "fault_stray_bytes": (["--stray-bytes", "9"], "write", 0, 0, None),
}


def case_write(a):
    image = image_bytes()
    rom = write_rom(a.work, image)
    sim = Sim(a.sim, a.work, "--copy-delay", COPY_DELAY_MS, "--exit-after-exit")
    rc, out, err = run_cli(a.cli, "panel", "write", "--port", sim.pty, rom)
    report = sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    check(sim.flash()[:8064] == with_check_byte(image), "FLASH differs from the image with its check byte")
    check(report["violations"] == [], report["violations"])
    check(report["restarts"] == 0 and report["exits"] == 1, report)
    check("Операция записи конфигурации завершена успешно." in err, err)


def case_read(a):
    image = with_check_byte(image_bytes(11))
    rom = write_rom(a.work, image)
    sim = Sim(a.sim, a.work, "--flash", rom, "--exit-after-exit")
    out_rom = os.path.join(a.work, "back.rom")
    rc, out, err = run_cli(a.cli, "panel", "read", "--port", sim.pty, "-o", out_rom)
    report = sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    with open(out_rom, "rb") as f:
        check(f.read() == image, "read image differs")
    check(report["violations"] == [] and report["exits"] == 1, report)
    check(report["frames"] == 128 + 1, report)  # the blocks and the exit
    # A .dcf output goes through the image reader, which takes any image.
    sim = Sim(a.sim, a.work, "--flash", rom, "--exit-after-exit")
    out_dcf = os.path.join(a.work, "back.dcf")
    rc, out, err = run_cli(a.cli, "panel", "read", "--port", sim.pty, "-o", out_dcf)
    sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    rc, out, err = run_cli(a.cli, "show", out_dcf)
    check(rc == 0 and out.startswith("ППК"), f"show: exit {rc}: {out[:200]} {err}")


def case_read_id(a):
    sim = Sim(a.sim, a.work, "--mode", "reader", "--id-code", "00A1B2C3D4E5F607", "--id-delay", "400",
              "--id-noise")
    rc, out, err = run_cli(a.cli, "read-id", "--port", sim.pty, timeout=30)
    sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    check(out == "00A1B2C3D4E5F607\n", repr(out))


def port_released_after(path, t0, limit=10.0):
    """Seconds from t0 until another program can take the port."""
    while time.monotonic() - t0 < limit:
        try:
            fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
        except OSError:
            time.sleep(0.002)
            continue
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
            return time.monotonic() - t0
        except OSError:
            time.sleep(0.002)
        finally:
            os.close(fd)
    raise AssertionError("the port was never released")


def case_cancel_handshake(a):
    sim = Sim(a.sim, a.work, "--silent")
    rom = write_rom(a.work, image_bytes())
    cli = subprocess.Popen([a.cli, "panel", "write", "--port", sim.pty, rom],
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(1.0)  # well into the handshake
    check(cli.poll() is None, "the transfer ended by itself")
    t0 = time.monotonic()
    cli.send_signal(signal.SIGINT)
    released = port_released_after(sim.pty, t0)
    out, err = cli.communicate(timeout=10)
    err = err.decode()
    report = sim.finish()
    check(cli.returncode == 1, f"exit {cli.returncode}")
    # The transfer ends after its current byte, within one read limit (202 ms),
    # and lets go of the port; some room for a loaded machine.
    check(released < 0.202 + 0.15, f"the port was released {released:.3f} s after Ctrl+C")
    print(f"port released {released * 1000:.0f} ms after Ctrl+C")
    check("База данных в ППК не записана" in err, err)
    check("Ошибка записи" not in err, err)
    check(report["bytes_in"] >= 3, report)


def case_port_names(a):
    """COMn through VELKOR_COM<n>; a port another program holds is refused."""
    rom = write_rom(a.work, image_bytes())
    sim = Sim(a.sim, a.work, "--copy-delay", COPY_DELAY_MS)
    env = dict(os.environ, VELKOR_COM2=sim.pty)
    holder = os.open(sim.pty, os.O_RDWR | os.O_NOCTTY)
    fcntl.flock(holder, fcntl.LOCK_EX | fcntl.LOCK_NB)
    rc, out, err = run_cli(a.cli, "panel", "write", "--port", "COM2", rom, env=env)
    check(rc == 1 and "Ошибка инициализации COM-порта" in err, f"exit {rc}: {err}")
    os.close(holder)
    rc, out, err = run_cli(a.cli, "panel", "write", "--port", "com2", rom, env=env)
    report = sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    check(report["exits"] == 1 and report["violations"] == [], report)
    rc, out, err = run_cli(a.cli, "panel", "write", "--port", "COM9", rom, env=env)
    check(rc == 1, f"COM9 is a device path that does not exist: exit {rc}")


def example(a, name):
    return os.path.join(a.examples, name)


def case_write_dcf(a):
    """A database file is built and written; the panel hands it back."""
    dcf = example(a, "small-office.dcf")
    sim = Sim(a.sim, a.work, "--copy-delay", COPY_DELAY_MS, "--exit-after-exit")
    rc, out, err = run_cli(a.cli, "panel", "write", "--port", sim.pty, dcf, "--yes")
    report = sim.finish()
    check(rc == 0, f"exit {rc}: {err}")
    check(report["violations"] == [] and report["exits"] == 1, report)
    flash = sim.flash()[:8064]
    built = os.path.join(a.work, "built.rom")
    rc, out, err = run_cli(a.cli, "build", dcf, "-o", built, "--yes")
    check(rc == 0, f"build: exit {rc}: {err}")
    with open(built, "rb") as f:
        check(flash == with_check_byte(f.read()), "FLASH differs from the built image with its check byte")

    seeded = write_rom(a.work, flash)
    sim = Sim(a.sim, a.work, "--flash", seeded, "--exit-after-exit")
    back = os.path.join(a.work, "back.dcf")
    rc, out, err = run_cli(a.cli, "panel", "read", "--port", sim.pty, "-o", back)
    sim.finish()
    check(rc == 0, f"read: exit {rc}: {err}")
    rc, shown, err = run_cli(a.cli, "show", back)
    check(rc == 0, f"show: exit {rc}: {err}")
    rc, original, err = run_cli(a.cli, "show", dcf)
    check(shown == original, f"the database read back differs:\n{shown}\n---\n{original}")


def case_texts(a):
    """The text image offline, and the same image written through text mode."""
    dcf = example(a, "small-office.dcf")
    offline = os.path.join(a.work, "texts.bin")
    log = os.path.join(a.work, "texts.log")
    rc, out, err = run_cli(a.cli, "texts", dcf, "-o", offline, "--log", log)
    check(rc == 0, f"texts: exit {rc}: {err}")
    with open(offline, "rb") as f:
        image = f.read()
    check(len(image) == 12450, len(image))
    with open(log, "rb") as f:
        listing = f.read().decode("cp1251")
    check(listing.endswith("Конец структуры\r\n"), listing[-200:])
    sim = Sim(a.sim, a.work, "--exit-after-exit")
    rc, out, err = run_cli(a.cli, "panel", "texts", "--port", sim.pty, dcf)
    report = sim.finish()
    check(rc == 0, f"panel texts: exit {rc}: {err}")
    check(report["text_blocks"] == 415 and report["exits"] == 1 and report["violations"] == [], report)
    with open(sim.text_file, "rb") as f:
        check(f.read() == image, "the panel's texts differ from the text image")


def case_fault(a, name):
    options, transfer, want_rc, want_restarts, want_text = FAULTS[name]
    image = image_bytes()
    rom = write_rom(a.work, image)
    sim_options = ["--copy-delay", COPY_DELAY_MS, "--exit-after-exit", *options]
    if transfer == "read":
        sim_options += ["--flash", write_rom(a.work, with_check_byte(image))]
    sim = Sim(a.sim, a.work, *sim_options)
    if transfer == "write":
        rc, out, err = run_cli(a.cli, "panel", "write", "--port", sim.pty, rom)
    else:
        out_rom = os.path.join(a.work, "back.rom")
        rc, out, err = run_cli(a.cli, "panel", "read", "--port", sim.pty, "-o", out_rom)
    report = sim.finish()
    check(rc == want_rc, f"exit {rc}, expected {want_rc}: {err}")
    check(report["restarts"] == want_restarts, f"restarts {report['restarts']}, expected {want_restarts}")
    check(report["violations"] == [], report["violations"])
    if want_text:
        check(want_text in err, err)
    if want_rc == 0 and transfer == "write":
        check(sim.flash()[:8064] == with_check_byte(image), "FLASH differs")
    if want_rc == 0 and transfer == "read":
        with open(out_rom, "rb") as f:
            check(f.read() == with_check_byte(image), "read image differs")
    if want_restarts:
        # The user is asked to reset the panel again at every restart.
        check(err.count("Необходимо выполнить аппаратный") == 1 + want_restarts, err)


CASES = {
    "write": case_write,
    "read": case_read,
    "read_id": case_read_id,
    "cancel_handshake": case_cancel_handshake,
    "port_names": case_port_names,
    "write_dcf": case_write_dcf,
    "texts": case_texts,
}


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cli", required=True)
    p.add_argument("--sim", required=True)
    p.add_argument("--work", required=True)
    p.add_argument("--examples", default="")
    p.add_argument("case")
    a = p.parse_args()
    os.makedirs(a.work, exist_ok=True)
    if a.case in CASES:
        CASES[a.case](a)
    elif a.case in FAULTS:
        case_fault(a, a.case)
    else:
        print(f"unknown case {a.case}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except AssertionError as e:
        print(f"FAILED: {e}", file=sys.stderr)
        sys.exit(1)
