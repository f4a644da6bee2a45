#!/usr/bin/env python3
"""Holds the manual pages against the programs' own help: every command and option that a --help lists
must stand in the English page (man/) and in the Czech one (man/cs/), so the two cannot drift apart.

Usage: check_man_pages.py MAN_DIR ORB ORBCTL ORBSIM
"""
import os
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(--[a-z][a-z0-9-]*|-[a-zA-Z])(?![\w-])")


def help_text(*command):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run(command, capture_output=True, text=True, env=env, check=True).stdout


def page_text(path):
    """The page's text as a reader sees it: escaped hyphens plain, font changes gone."""
    with open(path, encoding="utf-8") as page:
        text = page.read()
    text = re.sub(r"\\f[BIRP]", "", text)
    return text.replace("\\-", "-")


def main():
    man_dir, orb, orbctl, orbsim = sys.argv[1:5]
    orbctl_help = help_text(orbctl, "--help")
    commands = re.findall(r"^  orbctl ([a-z]+)", orbctl_help, re.MULTILINE)
    wanted = {
        "orb.1": set(OPTION.findall(help_text(orb, "--help"))),
        "orbctl.1": set(OPTION.findall(orbctl_help)) | set(commands),
        "orbsim.1": set(OPTION.findall(help_text(orbsim, "--help"))),
    }
    for command in commands:
        wanted["orbctl.1"] |= set(OPTION.findall(help_text(orbctl, command, "--help")))

    missing = []
    for page, words in wanted.items():
        for language_dir in (man_dir, os.path.join(man_dir, "cs")):
            text = page_text(os.path.join(language_dir, page))
            for word in sorted(words):
                if not re.search(r"(?<![\w-])" + re.escape(word) + r"(?![\w-])", text):
                    missing.append(f"{os.path.join(language_dir, page)} lacks {word}")
    for line in missing:
        print(line)
    if not missing:
        print("every command and option of the help stands in both languages' pages")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
