"""Writes the user guide 使用说明.txt of the release from README.zh-CN.md.

usage: release_guide.py README.zh-CN.md OUT.txt
  Takes the part between the "<!-- guide -->" and "<!-- /guide -->" lines,
  as plain text: headings become 【…】 lines, `names` “names”, other markup
  and the pictures go. The
  file is UTF-8 with a byte order mark and CRLF line ends, which every
  Notepad since Windows XP shows correctly.
"""

import re
import sys


def plain_text(markdown):
    start = markdown.index("<!-- guide -->\n") + len("<!-- guide -->\n")
    body = markdown[start:markdown.index("<!-- /guide -->")]
    title = markdown.splitlines()[0].lstrip("# ").strip()
    lines = [title, ""]
    for line in body.splitlines():
        if line.startswith("!["):
            continue
        if line.startswith("## "):
            line = "【%s】" % line[3:].strip()
        line = re.sub(r"\[([^]]*)\]\([^)]*\)", r"\1", line)
        line = re.sub(r" ?`([^`]*)` ?", "\u201c\\1\u201d", line.replace("**", ""))
        lines.append(line)
    while lines and not lines[-1]:
        lines.pop()
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("\n\n")[1])
    with open(sys.argv[1], encoding="utf-8") as f:
        text = plain_text(f.read())
    with open(sys.argv[2], "w", encoding="utf-8-sig", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    main()
