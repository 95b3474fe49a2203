#!/usr/bin/env python3
"""Writes the SVG sources of the program's button faces, small icons and frame
edges into ../pictures/, all in one style: a light face (#FFFFFF to #E6F1FA)
with a thin blue rim, a round coloured badge with a white glyph, and a short
label, in each interface language. Edit the tables here and run the script again; the banner, the
about picture and the application icon are drawn by hand in their own files."""
import filecmp
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "pictures")
FONT = "Noto Sans CJK SC, Microsoft YaHei, SimHei, WenQuanYi Micro Hei, sans-serif"
# Traditional characters in the shapes Taiwan writes them.
FONT_TRADITIONAL = "Noto Sans CJK TC, Microsoft JhengHei, PMingLiU, WenQuanYi Micro Hei, sans-serif"

GREEN, BLUE, RED, TEAL, ORANGE, VIOLET, GREY = (
    "#2F9E6E", "#2B7BB9", "#D0493F", "#1F9AA6", "#E08A1E", "#7A62C9", "#6F8596")

# White glyphs drawn in a 16 x 16 box centred on (8, 8).
GLYPHS = {
    "plus": '<path d="M8 4.4v7.2M4.4 8h7.2" stroke="#fff" stroke-width="2" '
            'stroke-linecap="round"/>',
    "pencil": '<path d="M4.6 11.4l.7-2.5 4.9-4.9 1.8 1.8-4.9 4.9z" fill="#fff"/>',
    "cross": '<path d="M5.4 5.4l5.2 5.2M10.6 5.4l-5.2 5.2" stroke="#fff" stroke-width="2" '
             'stroke-linecap="round"/>',
    "export": '<path d="M8 9.4V4.4M5.8 6.4L8 4.2l2.2 2.2M4.6 9.2v2.3h6.8V9.2" fill="none" '
              'stroke="#fff" stroke-width="1.5" stroke-linecap="round" stroke-linejoin="round"/>',
    "import": '<path d="M8 4.2v5M5.8 7.2L8 9.4l2.2-2.2M4.6 9.2v2.3h6.8V9.2" fill="none" '
              'stroke="#fff" stroke-width="1.5" stroke-linecap="round" stroke-linejoin="round"/>',
    "help": '<path d="M6.1 6.4a1.95 1.95 0 1 1 2.7 1.8c-.55.25-.8.6-.8 1.2v.3" fill="none" '
            'stroke="#fff" stroke-width="1.6" stroke-linecap="round"/>'
            '<circle cx="8" cy="11.7" r="1" fill="#fff"/>',
    "info": '<circle cx="8" cy="4.9" r="1.05" fill="#fff"/><path d="M8 7.3v4.4" stroke="#fff" '
            'stroke-width="1.9" stroke-linecap="round"/>',
    "power": '<path d="M10.5 5.7a3.6 3.6 0 1 1-5 0" fill="none" stroke="#fff" stroke-width="1.6" '
             'stroke-linecap="round"/><path d="M8 3.9v4" stroke="#fff" stroke-width="1.6" '
             'stroke-linecap="round"/>',
    "check": '<path d="M4.8 8.2l2.2 2.2 4.2-4.6" fill="none" stroke="#fff" stroke-width="1.9" '
             'stroke-linecap="round" stroke-linejoin="round"/>',
    "save": '<path d="M4.6 4.6h5.4l1.4 1.4v5.4H4.6z" fill="#fff"/>'
            '<path d="M6 4.6h3.4v2.2H6z" fill="currentColor"/>'
            '<rect x="6" y="8.6" width="4" height="2.8" rx=".4" fill="currentColor"/>',
    "expand": '<path d="M4.4 6.6V4.4h2.2M9.4 4.4h2.2v2.2M11.6 9.4v2.2H9.4M6.6 11.6H4.4V9.4" '
              'fill="none" stroke="#fff" stroke-width="1.5" stroke-linecap="round" '
              'stroke-linejoin="round"/>',
    "collapse": '<path d="M4.4 6.6h2.2V4.4M9.4 4.4v2.2h2.2M11.6 9.4H9.4v2.2M6.6 11.6V9.4H4.4" '
                'fill="none" stroke="#fff" stroke-width="1.5" stroke-linecap="round" '
                'stroke-linejoin="round"/>',
    "folder": '<path d="M3.8 5.4h3l1 1.1h4.4v5.2H3.8z" fill="#fff"/>'
              '<path d="M8.4 8.9h2.8M9.8 7.5v2.8" stroke="currentColor" stroke-width="1.2" '
              'stroke-linecap="round"/>',
}


def badge(glyph, colour, x, y, size=16):
    s = size / 16.0
    return (f'<g transform="translate({x} {y}) scale({s:g})" color="{colour}">'
            f'<circle cx="8" cy="8" r="8" fill="{colour}"/>'
            f'<circle cx="8" cy="8" r="7.5" fill="none" stroke="#000" stroke-opacity=".08"/>'
            f'{GLYPHS[glyph]}</g>')


# Advance widths of the face font's (Noto Sans CJK) Latin letters, in thousandths
# of the font size; a CJK character is one font size wide.
LATIN_ADVANCE = dict(zip(
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
    [224, 323, 474, 555, 555, 921, 680, 278, 338, 338, 467, 555, 278, 347, 278, 392, 555, 555, 555, 555, 555,
     555, 555, 555, 555, 555, 278, 278, 555, 555, 555, 474, 946, 608, 657, 638, 688, 589, 552, 689, 728, 293,
     535, 646, 543, 812, 723, 742, 633, 742, 635, 596, 599, 721, 575, 878, 573, 531, 603, 338, 392, 338, 555,
     559, 606, 563, 618, 510, 620, 554, 325, 564, 607, 275, 275, 552, 284, 926, 610, 606, 620, 620, 388, 468,
     377, 607, 521, 802, 498, 521, 475, 338, 270, 338, 555]))


def text_width(label, font_size):
    return sum(LATIN_ADVANCE.get(c, 1000) for c in label) * font_size / 1000.0


def face(name, w, h, glyph, colour, label, font_size=12, folder="", with_badge=True, font=FONT, latin=False):
    badge_size = 16 if h >= 22 else 14
    label_w = text_width(label, font_size)
    gap = 4
    if not with_badge:  # a label alone, where a language's word leaves no room for the badge
        badge_size = gap = 0
    if latin:
        # Qt's SVG renderer takes the first font it finds for the family list, which
        # for Latin letters may be a wider one (DejaVu Sans): leave room for it, and
        # centre the word on its place, whichever font draws it.
        label_w *= 1.1
    left = (w - badge_size - gap - label_w) / 2.0
    by = (h - badge_size) / 2.0
    baseline = h / 2.0 + font_size * 0.36
    mark = f"\n  {badge(glyph, colour, round(left, 1), round(by, 1), badge_size)}" if with_badge else ""
    text_x = left + badge_size + gap
    anchor = ""
    if latin:
        text_x += label_w / 2.0
        anchor = ' text-anchor="middle"'
    svg = f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
  <defs>
    <linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#FFFFFF"/>
      <stop offset="1" stop-color="#E6F1FA"/>
    </linearGradient>
  </defs>
  <rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="4" fill="url(#face)" stroke="#A9CBE6"/>
  <path d="M4.5 1.5h{w - 9}" stroke="#FFFFFF" stroke-opacity=".9"/>{mark}
  <text x="{round(text_x, 1)}" y="{round(baseline, 1)}"{anchor} font-family="{font}" font-size="{font_size}" fill="#27425A">{label}</text>
</svg>
'''
    write(os.path.join(folder, name), svg)


def icon(name, glyph, colour, size=18):
    off = (size - 16) / 2.0
    write(name, f'''<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
  {badge(glyph, colour, off, off)}
</svg>
''')


def write(name, text):
    path = os.path.join(OUT, name + ".svg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def frame_edges():
    # Named after the frame panels of the main window: PnlTop, PnlBottom, Panel8 (left), Panel9 (right).
    top = '''<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#D9EAF7"/><stop offset="1" stop-color="#F5FEFA"/></linearGradient>'''
    bottom = '''<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#F5FEFA"/><stop offset="1" stop-color="#D9EAF7"/></linearGradient>'''
    side_l = '''<linearGradient id="g" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#D9EAF7"/><stop offset="1" stop-color="#F5FEFA"/></linearGradient>'''
    side_r = side_l.replace('x1="0" y1="0" x2="1"', 'x1="1" y1="0" x2="0"')
    rim = "#9FC4E2"

    def svg(name, w, h, grad, body):
        write(name, f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
  <defs>{grad}</defs>
  {body}
</svg>
''')
    svg("PnlTopMiddle", 16, 15, top, f'<rect width="16" height="15" fill="url(#g)"/>'
        f'<path d="M0 0.5h16" stroke="{rim}"/><path d="M0 1.5h16" stroke="#fff"/>')
    svg("PnlTopLeft", 14, 15, top,
        f'<path d="M0 15V7a7 7 0 0 1 7-7h7v15z" fill="url(#g)"/>'
        f'<path d="M0.5 15V7.5a7 7 0 0 1 7-7H14" fill="none" stroke="{rim}"/>'
        f'<path d="M1.5 15V7.5a6 6 0 0 1 6-6H14" fill="none" stroke="#fff"/>')
    svg("PnlTopRight", 14, 15, top,
        f'<path d="M14 15V7a7 7 0 0 0-7-7H0v15z" fill="url(#g)"/>'
        f'<path d="M13.5 15V7.5a7 7 0 0 0-7-7H0" fill="none" stroke="{rim}"/>'
        f'<path d="M12.5 15V7.5a6 6 0 0 0-6-6H0" fill="none" stroke="#fff"/>')
    svg("PnlBottomMiddle", 16, 11, bottom, f'<rect width="16" height="11" fill="url(#g)"/>'
        f'<path d="M0 10.5h16" stroke="{rim}"/>')
    svg("PnlBottomLeft", 14, 11, bottom,
        f'<path d="M0 0v5a6 6 0 0 0 6 6h8V0z" fill="url(#g)"/>'
        f'<path d="M0.5 0v4.5a6 6 0 0 0 6 6H14" fill="none" stroke="{rim}"/>')
    svg("PnlBottomRight", 14, 11, bottom,
        f'<path d="M14 0v5a6 6 0 0 1-6 6H0V0z" fill="url(#g)"/>'
        f'<path d="M13.5 0v4.5a6 6 0 0 1-6 6H0" fill="none" stroke="{rim}"/>')
    svg("Panel8", 10, 16, side_l, f'<rect width="10" height="16" fill="url(#g)"/>'
        f'<path d="M0.5 0v16" stroke="{rim}"/><path d="M1.5 0v16" stroke="#fff"/>')
    svg("Panel9", 10, 16, side_r, f'<rect width="10" height="16" fill="url(#g)"/>'
        f'<path d="M9.5 0v16" stroke="{rim}"/>')


# The faces' words per interface language. The simplified Chinese faces are the
# pictures themselves; the others go into a folder named after the language's
# translation file, where the program looks first when that language is in use.
LABELS = {
    "zh_CN": {"add": "新增", "update": "修改", "delete": "删除", "export": "导出", "import": "导入",
              "help": "帮助", "about": "关于", "exit": "退出", "full": "全屏", "unfull": "退出全屏",
              "close": "关闭", "confirm": "确定", "cancel": "取消", "newdir": "新建文件夹"},
    "zh_TW": {"add": "新增", "update": "修改", "delete": "刪除", "export": "匯出", "import": "匯入",
              "help": "說明", "about": "關於", "exit": "結束", "full": "全螢幕", "unfull": "結束全螢幕",
              "close": "關閉", "confirm": "確定", "cancel": "取消", "newdir": "新增資料夾"},
    "en": {"add": "Add", "update": "Edit", "delete": "Delete", "export": "Export", "import": "Import",
           "help": "Help", "about": "About", "exit": "Exit", "full": "Full Screen", "unfull": "Exit Full Screen",
           "close": "Close", "confirm": "OK", "cancel": "Cancel", "newdir": "New Folder"},
}


def faces(language):
    words = LABELS[language]
    folder = "" if language == "zh_CN" else language
    latin = language == "en"
    size = 11 if latin else 12  # Latin letters at 11 px stand as tall as the characters at 12
    font = FONT_TRADITIONAL if language == "zh_TW" else FONT
    # The full-screen button is as wide as its longer word needs; the address bar follows.
    full_w = {"zh_CN": 84, "zh_TW": 92, "en": 116}[language]
    for name, glyph, colour, word in [
            ("BtnAddUrlBtn", "plus", GREEN, "add"), ("BtnUpdateASite", "pencil", BLUE, "update"),
            ("BtnDeleteASite", "cross", RED, "delete"), ("BtnAddArticle2", "plus", GREEN, "add"),
            ("BtnUpdateArticleCont", "pencil", BLUE, "update"),
            ("BtnDeleteArticleCont", "cross", RED, "delete"), ("BtnIHExport", "export", TEAL, "export"),
            ("BtnIHImport", "import", ORANGE, "import"), ("BtnIHHelpDoc", "help", VIOLET, "help")]:
        # Three of these share the 176-pixel list column: English words take the whole face.
        face(name, 54, 24, glyph, colour, words[word], size, folder, with_badge=not latin, font=font, latin=latin)
    face("BtnIHAboutUs", 84, 23, "info", BLUE, words["about"], size, folder, font=font, latin=latin)
    face("BtnIHExit", 84, 23, "power", RED, words["exit"], size, folder, font=font, latin=latin)
    face("BtnFullScreen1", full_w, 25, "expand", BLUE, words["full"], size, folder, font=font, latin=latin)
    face("BtnFullScreen2", full_w, 25, "collapse", TEAL, words["unfull"], size, folder, font=font, latin=latin)
    face("BtnClose", 57, 26, "cross", GREY, words["close"], size, folder, font=font, latin=latin)
    face("confirm", 75, 26, "check", GREEN, words["confirm"], size, folder, font=font, latin=latin)
    face("cancel", 75, 26, "cross", GREY, words["cancel"], size, folder, font=font, latin=latin)
    face("newdir", 100, 26, "folder", ORANGE, words["newdir"], size, folder, font=font, latin=latin)


def main():
    os.makedirs(OUT, exist_ok=True)
    for language in LABELS:
        faces(language)
    # A word that is the same in simplified Chinese needs no copy of its face.
    for language in LABELS:
        folder = os.path.join(OUT, language)
        for name in os.listdir(folder) if os.path.isdir(folder) else []:
            if filecmp.cmp(os.path.join(folder, name), os.path.join(OUT, name), shallow=False):
                os.remove(os.path.join(folder, name))
    for name, glyph, colour in [("SmallAdd", "plus", GREEN), ("SmallUpdate", "pencil", BLUE),
                                ("SmallDelete", "cross", RED), ("SmallSave", "save", BLUE)]:
        icon(name, glyph, colour)
    frame_edges()


if __name__ == "__main__":
    main()
