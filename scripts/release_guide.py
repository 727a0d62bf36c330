"""Writes the user guide 使用说明.txt of the release from README.zh-CN.md.

usage: release_guide.py README.zh-CN.md OUT.txt VERSION
  Takes the part between the "<!-- guide -->" and "<!-- /guide -->" lines,
  as plain text for Notepad, which does not wrap lines: the title with the
  version on top, headings as 【…】 lines, `names` as “names”, other markup
  and the pictures gone, "QuickDock-版本号-" in file names given the version,
  and every line wrapped to at most 78 columns, a Chinese (double-width)
  character counting two, the way Notepad draws them in a Chinese font.
  Wrapped lines of a list item are indented under its text; code lines (four
  spaces in the Markdown) keep their text whole with two spaces in front.
  The file is UTF-8 with a byte order mark and CRLF line ends, which every
  Notepad since Windows XP shows correctly.
"""

import re
import sys

WIDTH = 78
# No line starts with these, and none ends with the opening ones.
CLOSING = set("，。、；：！？）》」』”’…%,.;:!?)]}\x02")
OPENING = set("（《「『“‘([{\x01")
# A name in `backquotes` is kept whole on one line between these two marks,
# which become “ and ” at the end.
NAME_START, NAME_END = "\x01", "\x02"


def columns(text):
    # In code page 936 a double-width character takes two bytes, everything
    # else one: the byte count is the width Notepad gives the text.
    return len(text.replace(NAME_START, "\u201c").replace(NAME_END, "\u201d").encode("gbk"))


def units(text):
    """The text in pieces a line may break between: names and runs of ASCII
    without spaces stay whole (paths, numbers), spaces and every other
    character stand alone."""
    return re.findall(r"\x01[^\x02]*\x02|[!-~]+| |[^ -~]", text)


def may_break(before, after):
    if before == " " or after == " ":
        return True
    if after[0] in CLOSING or before[-1] in OPENING:
        return False
    # Between two ASCII runs there is always a space (handled above).
    return True


def wrap(text, first, rest):
    """Lines of at most WIDTH columns: `first` before the first, `rest`
    before the others."""
    pieces = units(text)
    lines, line, prefix = [], [], first
    while pieces:
        line.append(pieces.pop(0))
        if columns(prefix + "".join(line).rstrip()) <= WIDTH:
            continue
        # Back to the last place this line may break at.
        cut = len(line) - 1
        while cut > 0 and not may_break(line[cut - 1], line[cut]):
            cut -= 1
        if cut == 0:
            raise SystemExit("release_guide: cannot fit into %d columns: %s" % (WIDTH, text))
        pieces = line[cut:] + pieces
        lines.append(prefix + "".join(line[:cut]).rstrip())
        line, prefix = [], rest
        while pieces and pieces[0] == " ":
            pieces.pop(0)
    if line or not lines:
        lines.append(prefix + "".join(line).rstrip())
    return lines


def inline(text, version):
    text = re.sub(r"\[([^]]*)\]\([^)]*\)", r"\1", text.replace("**", ""))
    # Chinese text takes no spaces: not around quoted names, not where bold
    # markup needed one; beside a Latin word or a number the space stays.
    text = re.sub(r"`([^`]*)`", NAME_START + r"\1" + NAME_END, text)
    text = re.sub(r"(?<=[\x02，。、；：！？）]) (?=[^ -~])|(?<=[^ -~]) (?=\x01)", "", text)
    return versioned(text, version)


def versioned(text, version):
    return text.replace("QuickDock-版本号-", "QuickDock-%s-" % version)


def quoted(line):
    return line.replace(NAME_START, "\u201c").replace(NAME_END, "\u201d")


def plain_text(markdown, version):
    start = markdown.index("<!-- guide -->\n") + len("<!-- guide -->\n")
    body = markdown[start:markdown.index("<!-- /guide -->")]
    title = markdown.splitlines()[0].lstrip("# ").strip()
    lines = [title, "版本 %s" % version, ""]
    for line in body.splitlines():
        if line.startswith("!["):
            continue
        if line.startswith("    ") and line.strip():
            code = "  " + versioned(line[4:], version)
            if columns(code) > WIDTH:
                raise SystemExit("release_guide: code line wider than %d columns: %s" % (WIDTH, line))
            lines.append(code)
            continue
        if line.startswith("## "):
            lines.append("【%s】" % quoted(inline(line[3:].strip(), version)))
            continue
        item = re.match(r"( *)([-*] |\d+\. )?(.*)$", line)
        indent, marker, text = item.group(1), item.group(2) or "", inline(item.group(3), version)
        if not text:
            lines.append("")
            continue
        first = indent + marker
        lines.extend(quoted(l) for l in wrap(text, first, " " * len(first)))
    while lines and not lines[-1]:
        lines.pop()
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.split("\n\n")[1])
    with open(sys.argv[1], encoding="utf-8") as f:
        text = plain_text(f.read(), sys.argv[3])
    with open(sys.argv[2], "w", encoding="utf-8-sig", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    main()
