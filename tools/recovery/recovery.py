#!/usr/bin/python3
"""The sandbox machine's recovery environment.

Plays what happens when the sandbox machine restarts into its recovery
partition: reads the job that Quorvane left on the system partition, carries it
out with wimlib-imagex, and makes the machine boot Windows again.

    recovery.py SANDBOX_FOLDER [--prefix WINEPREFIX]

SANDBOX_FOLDER holds machine.ini and the disk images (see make-sandbox.sh);
WINEPREFIX is the prefix whose drives are the machine's lettered partitions
(default: <build>/wineprefix for <build>/bin/Sandbox). A partition is found by
its disk and partition number: [Volumes] in machine.ini gives its letter, and
the letter's folder is the prefix's dosdevices entry (c: is drive_c). Partition
1 of disk 0, the recovery partition, has no letter: its folder is
SANDBOX_FOLDER/recovery, which holds FactoryImage.QVX.

It acts only when partition 1 of disk 0 carries the boot flag, as a machine
boots the recovery partition only then. The job file c:\\Backup_Restore_Config.ini
on partition 2 of disk 0 (UTF-16LE with byte-order mark, section [Config]):

  Type=Backup   Path, Desc, PartID, DiskID, Compress (1 none, 2 XPRESS, 3 LZX):
                captures the system partition, without Wine's own folders,
                into Path on (DiskID, PartID) and adds it to
                Backup_Image_List.ini on partition 3 of disk 0.
  Type=Restore  Path, PartID, DiskID; Path z:\\FactoryImage.QVX is the factory
                image: verifies the image, then replaces the user's files on
                the system partition with its contents.

Drive letters differ in a recovery environment, so a path's first letter only
stands for the partition that (DiskID, PartID) names. Whatever the outcome the
job file is deleted, partition 2 of disk 0 is made active again and one line
goes to SANDBOX_FOLDER/events.log ("recovery backup ok D:\\backup.QVX",
"recovery restore failed: <reason>").

Exit status: 0 the job was done; 1 it failed; 2 the machine cannot be read;
3 the machine does not boot the recovery partition (nothing done).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

JOB_FILE = "Backup_Restore_Config.ini"
IMAGE_LIST = "Backup_Image_List.ini"
FACTORY_PATH = "z:\\FactoryImage.QVX"
FACTORY_IMAGE = "FactoryImage.QVX"
SYSTEM = (0, 2)
DATA = (0, 3)
RECOVERY = (0, 1)
COMPRESSION = {1: "none", 2: "XPRESS", 3: "LZX"}
# sfdisk lies in sbin, which an ordinary user's PATH may lack.
TOOL_PATH = os.pathsep.join([part for part in os.environ.get("PATH", "").split(os.pathsep) if part]
                            + ["/usr/sbin", "/sbin"])
INT32_MAX = 2**31 - 1


class JobFailed(Exception):
    """The job cannot be done; the message says why, in one line."""


class MachineUnreadable(Exception):
    """The sandbox machine itself cannot be read."""


# --- Profile (INI) text -----------------------------------------------------

class ProfileText:
    """A profile file as sections of lines, kept as written so that a change
    touches only the lines it must. Names compare without regard to case, as
    Windows' profile functions compare them."""

    def __init__(self, text=""):
        self.sections = [[None, []]]  # [name, lines]; the first holds lines before any section
        for line in text.splitlines():
            name = section_name(line)
            if name is not None:
                self.sections.append([name, []])
            else:
                self.sections[-1][1].append(line)

    def find(self, name):
        return next((s for s in self.sections if s[0] is not None and s[0].lower() == name.lower()), None)

    def value(self, section, key):
        found = self.find(section)
        for line_key, value in key_values(found[1] if found else []):
            if line_key.lower() == key.lower():
                return value
        return None

    def set_value(self, section, key, value):
        found = self.find(section)
        if found is None:
            self.sections.append([section, [f"{key}={value}"]])
            return
        lines = found[1]
        for at, line in enumerate(lines):
            if key_value(line) and key_value(line)[0].lower() == key.lower():
                lines[at] = f"{key}={value}"
                return
        filled = len(lines)
        while filled and not lines[filled - 1].strip():
            filled -= 1
        lines.insert(filled, f"{key}={value}")

    def replace_section(self, section, pairs):
        lines = [f"{key}={value}" for key, value in pairs]
        found = self.find(section)
        if found is None:
            self.sections.append([section, lines])
        else:
            found[1] = lines

    def text(self):
        lines = []
        for name, body in self.sections:
            if name is not None:
                lines.append(f"[{name}]")
            lines.extend(body)
        return "".join(line + "\r\n" for line in lines)


def section_name(line):
    stripped = line.strip()
    if stripped.startswith("[") and "]" in stripped:
        return stripped[1:stripped.index("]")].strip()
    return None


def key_value(line):
    """(key, value) of a key=value line, blanks around both dropped; None for
    blank lines, ';' comments and lines without '='."""
    stripped = line.strip()
    if not stripped or stripped.startswith(";") or "=" not in stripped:
        return None
    key, value = stripped.split("=", 1)
    return key.strip(), value.strip()


def key_values(lines):
    return [pair for pair in map(key_value, lines) if pair]


def profile_number(text):
    """A number as the image catalogue reads one: leading blanks, an optional
    sign, digits up to the first other character; 0 without digits; held
    within 32 bits."""
    match = re.match(r"[ \t]*([+-]?)(\d*)", text or "")
    if not match.group(2):
        return 0
    number = int(match.group(2)) * (-1 if match.group(1) == "-" else 1)
    return max(-INT32_MAX - 1, min(INT32_MAX, number))


# --- The sandbox machine ----------------------------------------------------

def read_mbr_partitions(image):
    """The partitions of a disk image's master boot record as Windows numbers
    them: used entries other than extended containers, 1, 2, 3... in table
    order. Each: (number, table slot, type, active)."""
    try:
        with open(image, "rb") as disk:
            sector = disk.read(512)
    except OSError as error:
        raise MachineUnreadable(f"cannot read {image}: {error.strerror}") from None
    if len(sector) < 512 or sector[510:512] != b"\x55\xaa":
        raise MachineUnreadable(f"{image} holds no master boot record")
    partitions = []
    for slot in range(4):
        entry = sector[0x1BE + 16 * slot:0x1BE + 16 * (slot + 1)]
        kind = entry[4]
        if kind == 0 or kind in (0x05, 0x0F, 0x85):
            continue
        partitions.append((len(partitions) + 1, slot, kind, entry[0] & 0x80 != 0))
    return partitions


class Machine:
    """The disks of machine.ini, its lettered partitions and the folders that
    stand for them."""

    def __init__(self, sandbox, prefix):
        self.sandbox = Path(sandbox)
        self.prefix = Path(prefix)
        try:
            ini = ProfileText((self.sandbox / "machine.ini").read_bytes().decode("utf-8-sig"))
        except (OSError, UnicodeError) as error:
            raise MachineUnreadable(f"cannot read {self.sandbox / 'machine.ini'}: {error}") from None
        self.disks = {}
        for key, value in key_values((ini.find("Disks") or [None, []])[1]):
            if re.fullmatch(r"\d", key) and value:
                self.disks[int(key)] = self.sandbox / value
        self.letters = {}  # (disk, partition) -> letter; the first letter given wins
        for key, value in key_values((ini.find("Volumes") or [None, []])[1]):
            place = re.fullmatch(r"(\d)\s*,\s*(\d+)", value)
            if re.fullmatch(r"[A-Za-z]", key) and place:
                self.letters.setdefault((int(place.group(1)), int(place.group(2))), key.lower())
        if 0 not in self.disks:
            raise MachineUnreadable("machine.ini names no disk 0")

    def partitions(self, disk):
        if disk not in self.disks:
            return []
        return read_mbr_partitions(self.disks[disk])

    def has_partition(self, disk, number):
        try:
            return any(p[0] == number for p in self.partitions(disk))
        except MachineUnreadable:
            return False

    def active_partitions(self):
        return [p[0] for p in self.partitions(0) if p[3]]

    def make_active(self, number):
        """Boot flag on partition `number` of disk 0, off on the others, with sfdisk."""
        slot = next((p[1] for p in self.partitions(0) if p[0] == number), None)
        if slot is None:
            raise JobFailed(f"disk 0 has no partition {number} to make active")
        # sfdisk numbers the entries of the table, 1 to 4.
        run = subprocess.run([tool("sfdisk"), "--activate", str(self.disks[0]), str(slot + 1)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            raise JobFailed(f"sfdisk could not make partition {number} active: {tool_message(run.stderr)}")

    def letter_of(self, place):
        return self.letters.get(place)

    def folder(self, place):
        """The folder that stands for (disk, partition)."""
        disk, number = place
        if not self.has_partition(disk, number):
            raise JobFailed(f"partition {number} of disk {disk} is no partition of this machine")
        letter = self.letter_of(place)
        if letter is None and place == RECOVERY:
            folder = self.sandbox / "recovery"
        elif letter is None:
            raise JobFailed(f"partition {number} of disk {disk} has no drive letter on this machine")
        else:
            folder = self.prefix / "dosdevices" / f"{letter}:"
        if not folder.is_dir():
            raise JobFailed(f"the folder of partition {number} of disk {disk} ({folder}) is missing")
        return Path(os.path.realpath(folder))


def tool(name):
    found = shutil.which(name, path=TOOL_PATH)
    if not found:
        raise JobFailed(f"{name} is not installed")
    return found


def tool_message(text):
    """The line of a tool's error output that says most: wimlib-imagex's first
    "[ERROR]" line, otherwise the last line."""
    lines = [line.strip() for line in (text or "").splitlines() if line.strip()]
    errors = [line.removeprefix("[ERROR]").strip() for line in lines if line.startswith("[ERROR]")]
    return errors[0] if errors else lines[-1] if lines else "no message"


def existing_case(folder, name):
    """folder/name, spelt as an entry that differs only in case when there is
    one: Windows paths ignore case, and Wine finds such an entry too."""
    exact = folder / name
    if exact.exists() or exact.is_symlink():
        return exact
    try:
        for entry in os.listdir(folder):
            if entry.lower() == name.lower():
                return folder / entry
    except OSError:
        pass
    return exact


def place_path(folder, path):
    """Where the Windows path `path` lies in the partition folder: its drive
    letter is dropped, since the job's numbers name the partition."""
    if not re.match(r"[A-Za-z]:[\\/]", path):
        raise JobFailed(f"{path} is no path on a drive")
    parts = [part for part in re.split(r"[\\/]", path[3:]) if part not in ("", ".")]
    if not parts:
        raise JobFailed(f"{path} names no file")
    if ".." in parts:
        raise JobFailed(f"{path} leaves its partition")
    for part in parts:
        folder = existing_case(folder, part)
    return folder


def is_wine_folder(name):
    """Wine's own folders in the root of drive C: they belong to Wine, not to
    the user, and stay out of every backup and restore."""
    lower = name.lower()
    return lower in ("windows", "programdata", "users") or lower.startswith("program files")


# --- The job ----------------------------------------------------------------

class Job:
    def __init__(self, kind, path, disk, partition, description="", compression=0):
        self.kind = kind  # "backup" or "restore"
        self.path = path
        self.place = (disk, partition)
        self.description = description
        self.compression = compression


def read_job_keys(file):
    """The keys of the job file by their lower-case names. Its own reader: the
    file must be what the hand-off writes, UTF-16LE with byte-order mark and
    one [Config] section whose keys are there once each."""
    try:
        data = file.read_bytes()
    except FileNotFoundError:
        raise JobFailed("there is no job file") from None
    except OSError as error:
        raise JobFailed(f"the job file cannot be read: {error.strerror}") from None
    if not data:
        raise JobFailed("the job file is empty")
    if not data.startswith(b"\xff\xfe") or len(data) % 2:
        raise JobFailed("the job file is not UTF-16LE text with a byte-order mark")
    try:
        text = data[2:].decode("utf-16-le")
    except UnicodeError:
        raise JobFailed("the job file is not UTF-16LE text with a byte-order mark") from None
    if not text.strip():
        raise JobFailed("the job file is empty")
    profile = ProfileText(text)
    configs = [s for s in profile.sections if s[0] is not None and s[0].lower() == "config"]
    if len(configs) != 1:
        raise JobFailed("the job file holds no [Config] section" if not configs
                        else "the job file holds more than one [Config] section")
    keys = {}
    for line in configs[0][1]:
        if not line.strip() or line.strip().startswith(";"):
            continue
        pair = key_value(line)
        if not pair or not pair[0]:
            raise JobFailed(f"the job file holds a line that is no key=value: {line.strip()}")
        if pair[0].lower() in keys:
            raise JobFailed(f"the job file holds {pair[0]} twice")
        keys[pair[0].lower()] = pair[1]
    return keys


def job_kind(keys):
    """'backup', 'restore', or 'job' while the Type is not known."""
    return keys.get("type", "").lower() if keys.get("type") in ("Backup", "Restore") else "job"


def read_job(keys):
    """The job that the job file's keys describe."""
    kind = keys.get("type")
    if kind is None:
        raise JobFailed("the job file holds no Type")
    if kind not in ("Backup", "Restore"):
        raise JobFailed(f"Type={kind} is neither Backup nor Restore")
    needed = ["Path", "PartID", "DiskID"] + (["Desc", "Compress"] if kind == "Backup" else [])
    missing = [key for key in needed if key.lower() not in keys]
    if missing:
        raise JobFailed(f"the {kind.lower()} job holds no {', '.join(missing)}")

    def number(key, pattern, low, high):
        value = keys[key.lower()]
        if not re.fullmatch(pattern, value) or not low <= int(value) <= high:
            raise JobFailed(f"{key}={value} is no number the job can hold")
        return int(value)

    job = Job(kind.lower(), keys["path"], number("DiskID", r"-?\d+", -2**31, INT32_MAX),
              number("PartID", r"\d+", 0, 2**32 - 1))
    if job.kind == "backup":
        job.description = keys["desc"]
        job.compression = number("Compress", r"\d+", 0, INT32_MAX)
        if job.compression not in COMPRESSION:
            raise JobFailed(f"Compress={job.compression} is none of 1 (none), 2 (fast), 3 (maximum)")
    return job


# --- Backup -----------------------------------------------------------------

class ImageList:
    """Backup_Image_List.ini: [BackupImage] TotalImageCount and [ImageN]
    Path, PartID, DiskID for N from 0. Written as UTF-16LE with byte-order
    mark, the encoding Windows' profile functions read as Unicode."""

    def __init__(self, file):
        self.file = file
        data = file.read_bytes() if file.exists() else b""
        try:
            if data.startswith(b"\xff\xfe"):
                text = data[2:].decode("utf-16-le")
            elif data.startswith(b"\xef\xbb\xbf"):
                text = data[3:].decode("utf-8")
            else:
                # Without a mark Windows reads the system's code page: only
                # plain ASCII means the same to every reader.
                text = data.decode("ascii")
        except UnicodeError:
            raise JobFailed(f"{file.name} is in an encoding this environment does not rewrite") from None
        self.profile = ProfileText(text)
        self.count = max(0, profile_number(self.profile.value("BackupImage", "TotalImageCount")))

    def entry_of(self, path, place):
        """N of an [ImageN] below the count that lists this image already."""
        for number in range(self.count):
            section = f"Image{number}"
            if self.profile.find(section) is None:
                continue  # a huge count over few sections costs nothing
            listed = self.profile.value(section, "Path") or ""
            if (listed[1:].lower() == path[1:].lower()
                    and profile_number(self.profile.value(section, "PartID")) == place[1]
                    and profile_number(self.profile.value(section, "DiskID")) == place[0]):
                return number
        return None

    def add(self, path, place):
        if self.count >= INT32_MAX:
            raise JobFailed(f"{self.file.name} cannot count another image")
        number = self.count
        self.profile.set_value("BackupImage", "TotalImageCount", number + 1)
        self.profile.replace_section(f"Image{number}",
                                     [("Path", path), ("PartID", place[1]), ("DiskID", place[0])])
        self.count = number + 1
        return number

    def save(self):
        """Into a new file renamed over the old one: the old list stays whole
        until the new one is."""
        temporary = self.file.with_name(f".{self.file.name}.{os.getpid()}.new")
        try:
            with open(temporary, "wb") as out:
                out.write(b"\xff\xfe" + self.profile.text().encode("utf-16-le"))
                out.flush()
                os.fsync(out.fileno())
            os.replace(temporary, self.file)
        except OSError as error:
            temporary.unlink(missing_ok=True)
            raise JobFailed(f"{self.file.name} could not be written: {error.strerror}") from None


def relative_inside(path, folder):
    """`path` relative to `folder` in Windows' spelling, or None when it lies
    elsewhere."""
    path = Path(os.path.realpath(path.parent)) / path.name
    if os.path.commonpath([path, folder]) != str(folder):
        return None
    return str(path.relative_to(folder)).replace(os.sep, "\\")


def is_own_file(name):
    return is_wine_folder(name) or name.lower() == JOB_FILE.lower()


def backup(machine, job, system, say):
    target = place_path(machine.folder(job.place), job.path)
    image_list = ImageList(existing_case(machine.folder(DATA), IMAGE_LIST))
    temporary = target.with_name(f".{target.name}.{os.getpid()}.partial")
    # Wine's folders, the job file and the image being written stay out.
    left_out = [name for name in os.listdir(system) if is_own_file(name)]
    left_out += [path for path in (relative_inside(target, system), relative_inside(temporary, system)) if path]
    say(f"{job.path} on partition {job.place[1]} of disk {job.place[0]} is {target}")
    say(f"capturing the system partition with {COMPRESSION[job.compression]} compression as image "
        f"{job.description!r}, leaving out {', '.join(sorted(left_out))}")
    try:
        with tempfile.NamedTemporaryFile("w", suffix=".ini", encoding="utf-8") as config:
            config.write("[ExclusionList]\n" + "".join(f"\\{path}\n" for path in left_out))
            config.flush()
            run = subprocess.run([tool("wimlib-imagex"), "capture", str(system), str(temporary), job.description,
                                  f"--compress={COMPRESSION[job.compression]}", f"--config={config.name}", "--check"],
                                 capture_output=True, text=True)
        if run.returncode != 0:
            raise JobFailed(f"wimlib-imagex capture failed: {tool_message(run.stderr)}")
        # Only a whole image replaces an older one of the same name.
        os.replace(temporary, target)
    except OSError as error:
        raise JobFailed(f"the image could not be put in place: {error}") from None
    finally:
        temporary.unlink(missing_ok=True)
    say(f"captured: {target.stat().st_size} bytes")
    listed = image_list.entry_of(job.path, job.place)
    if listed is not None:
        say(f"{IMAGE_LIST} lists this image already as Image{listed}")
        return
    number = image_list.add(job.path, job.place)
    image_list.save()
    say(f"listed as Image{number} in {IMAGE_LIST} on partition 3 of disk 0 "
        f"(TotalImageCount={image_list.count})")


# --- Restore ----------------------------------------------------------------

def clear_folder(folder, kept):
    """Removes what `folder` holds, except the paths in `kept` (and the
    folders on the way to them)."""
    for name in os.listdir(folder):
        entry = folder / name
        if entry in kept:
            continue
        if any(entry in path.parents for path in kept) and entry.is_dir() and not entry.is_symlink():
            clear_folder(entry, kept)
        elif entry.is_dir() and not entry.is_symlink():
            shutil.rmtree(entry)
        else:
            entry.unlink()


def move_into(source, folder, kept):
    """Moves what `source` holds into `folder`, which holds only what
    clear_folder kept: a kept path is not replaced."""
    for name in os.listdir(source):
        entry, target = source / name, folder / name
        if target in kept:
            continue
        if target.is_dir() and not target.is_symlink() and entry.is_dir() and not entry.is_symlink():
            move_into(entry, target, kept)
        else:
            os.replace(entry, target)


def restore(machine, job, system, say):
    """Puts the image's first image in place of the user's files on the
    system partition, once wimlib-imagex has verified the whole file."""
    if job.path.lower() == FACTORY_PATH.lower():
        image = existing_case(machine.folder(RECOVERY), FACTORY_IMAGE)
        say(f"{job.path} is the factory image on the recovery partition, {image}")
    else:
        image = place_path(machine.folder(job.place), job.path)
        say(f"{job.path} on partition {job.place[1]} of disk {job.place[0]} is {image}")
    if not image.is_file():
        raise JobFailed(f"there is no image at {job.path}")
    run = subprocess.run([tool("wimlib-imagex"), "verify", str(image)], capture_output=True, text=True)
    if run.returncode != 0:
        raise JobFailed(f"the image did not pass wimlib-imagex verify: {tool_message(run.stderr)}")
    say(f"{image.name} passed wimlib-imagex verify")
    # Applied beside the files first: a failed apply leaves the drive as it was.
    staging = Path(tempfile.mkdtemp(prefix=".restore-", dir=system))
    try:
        run = subprocess.run([tool("wimlib-imagex"), "apply", str(image), "1", str(staging)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            raise JobFailed(f"wimlib-imagex apply failed: {tool_message(run.stderr)}")
        # Wine's folders, the job file and an image that lies on this drive stay.
        kept = {system / name for name in os.listdir(system) if is_own_file(name)}
        kept |= {staging, Path(os.path.realpath(image))}
        kept |= {system / name for name in os.listdir(staging) if is_own_file(name)}
        clear_folder(system, kept)
        move_into(staging, system, kept)
    finally:
        shutil.rmtree(staging, ignore_errors=True)
    say(f"the system partition now holds the contents of {image.name} (Wine's own folders untouched)")


# --- The run ----------------------------------------------------------------

def append_event(sandbox, line):
    try:
        with open(Path(sandbox) / "events.log", "ab") as log:
            log.write((line + "\r\n").encode("utf-8"))
    except OSError as error:
        print(f"recovery: events.log could not be written: {error.strerror}", file=sys.stderr)


def run_job(machine, say):
    """Does the job; answers the events.log line and whether the job was done."""
    kind = "job"
    job_file = None
    try:
        system = machine.folder(SYSTEM)
        job_file = existing_case(system, JOB_FILE)
        keys = read_job_keys(job_file)
        kind = job_kind(keys)
        job = read_job(keys)
        say(f"job file {machine.letter_of(SYSTEM)}:\\{JOB_FILE}: Type={job.kind.capitalize()} Path={job.path}"
            + (f" Desc={job.description} Compress={job.compression}" if kind == "backup" else "")
            + f" PartID={job.place[1]} DiskID={job.place[0]}")
        if not machine.has_partition(*job.place):
            raise JobFailed(f"partition {job.place[1]} of disk {job.place[0]} is no partition of this machine")
        (backup if kind == "backup" else restore)(machine, job, system, say)
        outcome, done = f"recovery {kind} ok {job.path}", True
    except JobFailed as failure:
        outcome, done = f"recovery {kind} failed: {failure}", False
    except OSError as error:
        outcome, done = f"recovery {kind} failed: {error}", False
    # However the job went, the machine must start Windows next time, not this
    # environment again.
    if job_file is not None:
        try:
            job_file.unlink(missing_ok=True)
            say("job file deleted")
        except OSError as error:
            say(f"the job file could not be deleted: {error}")
    try:
        machine.make_active(SYSTEM[1])
        say("partition 2 of disk 0 is active again")
    except (JobFailed, MachineUnreadable) as failure:
        outcome, done = f"recovery {kind} failed: {failure}", False
    return outcome, done


def main():
    parser = argparse.ArgumentParser(description="The sandbox machine's recovery environment.")
    parser.add_argument("sandbox", help="the sandbox machine's folder (machine.ini, disk images)")
    parser.add_argument("--prefix", help="the Wine prefix whose drives are the machine's partitions")
    arguments = parser.parse_args()
    sandbox = Path(arguments.sandbox).resolve()
    prefix = Path(arguments.prefix or sandbox.parent.parent / "wineprefix")

    def say(line):
        print(f"recovery: {line}", flush=True)

    try:
        machine = Machine(sandbox, prefix)
        active = machine.active_partitions()
    except MachineUnreadable as problem:
        print(f"recovery: {problem}", file=sys.stderr)
        return 2
    if active != [RECOVERY[1]]:
        booted = f"partition {active[0]}" if len(active) == 1 else (
            "no partition" if not active else "several partitions")
        say(f"disk 0 would boot {booted}, not the recovery partition: nothing to do")
        return 3
    say("disk 0 boots partition 1, the recovery partition")
    outcome, done = run_job(machine, say)
    append_event(sandbox, outcome)
    print(outcome)
    return 0 if done else 1


if __name__ == "__main__":
    sys.exit(main())
