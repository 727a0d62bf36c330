"""The windows of QuickDock as data: elements, geometry, options, the menu,
event bindings and the skinned controls' stored attributes.

build_description.py turns this module into the stored UI description. Texts
are written here as ordinary strings; the tool stores element texts as GBK and
skin and list-item texts as UTF-16LE. Handlers are named by their slot in
HandlerSlots.h. Images are file names under images/.
"""

# Element types: library number << 16 | type number (UiIds.h).
WINDOW = 0x00010001
MENU_ENTRY = 0x00010003
WINDOW_EX = 0x00020001
PICTURE_BOX_EX = 0x00020005
TOOLBAR_EX = 0x00020012
LISTBOX_EX = 0x00020013
ICO_LISTBOX_EX = 0x00020014

# Engine attribute values per skinned type (property count - 8).
ENGINE_VALUE_COUNT = {
    WINDOW_EX: 21,
    PICTURE_BOX_EX: 17,
    TOOLBAR_EX: 17,
    LISTBOX_EX: 17,
    ICO_LISTBOX_EX: 22,
}

SHOWN = 1
DEFAULT_COLOUR = 0xFF000000
ORIGIN_LABEL = "QuickDock"

# --- Skin values: one palette for every skin ------------------------------------------
# background, border, text, hover fill, selected fill, selected text, accent,
# font size (px), corner radius (px)
PANEL_VALUES = [0xF0202428, 0xFF3A4048, 0xFFF0F2F5, 0xFF34393F, 0xFF2B4F7A,
                0xFFFFFFFF, 0xFF3C8CE7, 13, 6]
# Picture boxes have no face of their own (a transparent background lets the
# window show through). A picture-less box is a separator line drawn in the
# accent colour, so the separator's skin makes that the panel's border grey.
PICTURE_VALUES = [0x00000000, 0x00000000, 0xFFF0F2F5, 0x00000000, 0x00000000,
                  0xFFFFFFFF, 0xFF3C8CE7, 13, 0]
SEPARATOR_VALUES = [0x00000000, 0xFF3A4048, 0xFFF0F2F5, 0x00000000, 0x00000000,
                    0xFFFFFFFF, 0xFF3A4048, 13, 0]
CAPTION_VALUES = [0x00000000, 0x00000000, 0xFFD5D9DE, 0xFF3A4048, 0xFF2B3036,
                  0xFFFFFFFF, 0xFFE5484D, 13, 4]

# Part ids and states of the skin descriptors' part records.
PART_FRAME, PART_UP, PART_DOWN, PART_THUMB, PART_TRACK = 1, 2, 3, 4, 5
PART_BUTTON_FACE, PART_SELECTION_MARK, PART_CAPTION_BUTTON = 6, 7, 8
NORMAL, HOVER, PRESSED, SELECTED = 0, 1, 2, 3

# Engine control kinds.
KIND_WINDOW, KIND_PICTURE, KIND_CAPTION = 1000, 1400, 1700
KIND_TOOLBAR, KIND_LISTBOX, KIND_ICON_LIST = 2700, 2800, 2900


def part(part_id, state, image, width, height, margin_x=0, margin_y=0):
    """A part record; image -1 draws the part from the skin values alone."""
    return dict(part=part_id, state=state, image=image, x=0, y=0, width=width,
                height=height, margin_x=margin_x, margin_y=margin_y)


def skin(kind, name, values, images=(), parts=(), format_number=17):
    return dict(kind=kind, name=name, values=list(values), images=list(images),
                parts=list(parts), format=format_number)


def caption_skin(name, image_stems):
    # One record per state; the maximise skin's second three records are the
    # restore look, in the same state order.
    images = ["caption_%s_%s.png" % (stem, state) for stem in image_stems
              for state in ("normal", "hover", "pressed")]
    parts = [part(PART_CAPTION_BUTTON, i % 3, i, 30, 30) for i in range(len(images))]
    return skin(KIND_CAPTION, name, CAPTION_VALUES, images, parts, format_number=16)


SCROLL_IMAGES = ["scroll_up.png", "scroll_down.png", "scroll_thumb.png", "scroll_track.png"]
SCROLL_PARTS = [part(PART_UP, NORMAL, 0, 12, 12), part(PART_DOWN, NORMAL, 1, 12, 12),
                part(PART_THUMB, NORMAL, 2, 12, 12, 0, 4), part(PART_TRACK, NORMAL, 3, 12, 12, 0, 4)]

PICTURE_SKIN = skin(KIND_PICTURE, "默认皮肤_图片框", PICTURE_VALUES)
SEPARATOR_SKIN = skin(KIND_PICTURE, "默认皮肤_图片框", SEPARATOR_VALUES)
DOCK_WINDOW_SKIN = skin(KIND_WINDOW, "默认窗口皮肤", PANEL_VALUES, ["window_frame.png"],
                        [part(PART_FRAME, NORMAL, 0, 227, 273, 8, 8)])
PANEL_WINDOW_SKIN = skin(KIND_WINDOW, "默认窗口皮肤", PANEL_VALUES, [],
                         [part(PART_FRAME, NORMAL, -1, 0, 0)])
CLOSE_SKIN = caption_skin("默认皮肤_关闭按钮", ["close"])
MAXIMISE_SKIN = caption_skin("默认皮肤_最大化按钮", ["maximise", "restore"])
MINIMISE_SKIN = caption_skin("默认皮肤_最小化按钮", ["minimise"])
LIST_SKIN = skin(KIND_LISTBOX, "默认皮肤_普通列表框", PANEL_VALUES, SCROLL_IMAGES, SCROLL_PARTS)
ICON_LIST_SKIN = skin(KIND_ICON_LIST, "默认皮肤_图标列表框", PANEL_VALUES, SCROLL_IMAGES, SCROLL_PARTS)
TOOLBAR_SKIN = skin(
    KIND_TOOLBAR, "默认皮肤_工具条", PANEL_VALUES,
    ["toolbar_face_normal.png", "toolbar_face_hover.png", "toolbar_face_pressed.png",
     "toolbar_face_selected.png", "toolbar_selection_mark.png", "toolbar_focus_ring.png"],
    [part(PART_BUTTON_FACE, NORMAL, 0, 16, 16, 5, 5), part(PART_BUTTON_FACE, HOVER, 1, 16, 16, 5, 5),
     part(PART_BUTTON_FACE, PRESSED, 2, 16, 16, 5, 5), part(PART_BUTTON_FACE, SELECTED, 3, 16, 16, 5, 5),
     part(PART_SELECTION_MARK, NORMAL, 4, 16, 16)])


# --- Embedded attribute values ----------------------------------------------------------
# An engine value is a plain int, or one of these blocks (marker, bytes).

def skin_block(descriptor):
    return ("skin", descriptor)


def image_block(file_name):
    return ("image", file_name)


def items_block(items):
    return ("items", items)


NO_SKIN = ("skin", None)
NO_IMAGE = ("image", None)


def engine_values(type_id, **indexes):
    """The engine values of a type: every index 0 unless given as v<index>=..."""
    values = [0] * ENGINE_VALUE_COUNT[type_id]
    for key, value in indexes.items():
        values[int(key[1:])] = value
    return values


def sample_item(text, icon=None):
    return dict(text=text, icon=icon, height=30, colour=DEFAULT_COLOUR)


SAMPLE_ITEMS = [sample_item("定时关机", "item_timer.png"),
                sample_item("我的图片", "item_pictures.png"),
                sample_item("我的收藏", "item_favourites.png"),
                sample_item("我的日记", "item_diary.png")] + [sample_item("列表")] * 7


# --- Windows ----------------------------------------------------------------------------

def window_options(border, taskbar_button):
    return dict(version=6, border=border, background=DEFAULT_COLOUR, maximise_box=0,
                minimise_box=1, control_box=1, start_position=1, close_entry_kept=1,
                taskbar_button=taskbar_button, always_on_top=1, class_name="")


def control(component_id, type_id, name, geometry, events, values):
    """The runtime's shown flag is clear on every skinned control: the engine
    shows or hides a control's window by the control's own visible value once
    the window is built."""
    return dict(id=component_id, type=type_id, name=name, geometry=geometry,
                flags=0, events=events, values=values)


def menu_entry(component_id, level, flags, text, click):
    """Menu entries store no name of their own: they are known by their text."""
    return dict(id=component_id, type=MENU_ENTRY, level=level, flags=flags, hot_key=0,
                text=text, click=click)


MENU_HIDDEN = 1

# Sizes the program, its tests and the benchmarks rely on; the build writes
# them into WindowGeometry.h. The panel is stored 800 high; its layout at start
# makes it PANEL_HEIGHT high, filled by the icon list and toolbar (247) below
# the separator line (1).
DOCK_BUTTON_WIDTH, DOCK_BUTTON_HEIGHT = 48, 40
PANEL_WIDTH = 400
PANEL_HEIGHT = 248
GEOMETRY = [
    ("kDockButtonWidth", DOCK_BUTTON_WIDTH, "DockWindow, the button in the taskbar"),
    ("kDockButtonHeight", DOCK_BUTTON_HEIGHT, ""),
    ("kPanelWidth", PANEL_WIDTH, "DockPanelWindow"),
    ("kPanelHeight", PANEL_HEIGHT, "as laid out at start (stored 800 high)"),
]

DOCK_WINDOW = dict(
    id=0x52010001,
    handler_module=0x19010002,
    self_id=0x06010000,
    geometry=(50, 50, DOCK_BUTTON_WIDTH, DOCK_BUTTON_HEIGHT),
    flags=SHOWN,
    options=window_options(border=0, taskbar_button=1),
    events=[(0, "kSlotEmbedDock"), (-2, "kSlotTogglePanel"), (8, "kSlotDockFirstActivation")],
    elements=[
        control(0x16012C81, PICTURE_BOX_EX, "图标按钮", (6, 4, 36, 32), [],
                engine_values(PICTURE_BOX_EX, v0=1, v1=skin_block(PICTURE_SKIN),
                              v2=image_block("dock_button.png"), v3=0)),
        control(0x16012C7F, WINDOW_EX, "窗口EX", (4, 4, 24, 24), [(20, "kSlotDockHover")],
                engine_values(WINDOW_EX, v0=1, v1=skin_block(DOCK_WINDOW_SKIN), v2=0,
                              v3=skin_block(CLOSE_SKIN), v4=skin_block(MAXIMISE_SKIN),
                              v5=skin_block(MINIMISE_SKIN))),
    ],
)

DOCK_PANEL_WINDOW = dict(
    id=0x52012C96,
    handler_module=0x19012CA8,
    self_id=0x06012C97,
    geometry=(50, 50, PANEL_WIDTH, 800),
    flags=SHOWN,
    options=window_options(border=2, taskbar_button=0),
    events=[(0, "kSlotPanelCreated"), (1, "kSlotPanelMayClose"), (2, "kSlotPanelDestroying"),
            (-7, "kSlotPanelFocused")],
    elements=[
        control(0x16012E42, LISTBOX_EX, "扩展列表框", (8, 8, 384, 90), [(6, "kSlotSampleListEvent")],
                engine_values(LISTBOX_EX, v0=0, v1=skin_block(LIST_SKIN), v2=30, v8=-1,
                              v9=items_block(SAMPLE_ITEMS))),
        # 菜单: the hidden top-level entry holding the pop-up menu; 打开根目录: its one item.
        menu_entry(0x26012DFA, 0, MENU_HIDDEN, "菜单", None),
        menu_entry(0x26012DFB, 1, 0, "打开根目录", "kSlotOpenRootFolder"),
        control(0x16012DC1, ICO_LISTBOX_EX, "图标列表框", (101, 800, 299, 247),
                [(0, "kSlotLaunchEntry"), (15, "kSlotIconListContextMenu"),
                 (-9, "kSlotIconListKey")],
                engine_values(ICO_LISTBOX_EX, v0=1, v1=skin_block(ICON_LIST_SKIN), v2=48,
                              v3=74, v4=80, v8=-1)),
        control(0x16012D4D, PICTURE_BOX_EX, "分割线1", (1, 800, 398, 1), [],
                engine_values(PICTURE_BOX_EX, v0=1, v1=skin_block(SEPARATOR_SKIN), v2=NO_IMAGE,
                              v3=1)),
        control(0x16012D4A, TOOLBAR_EX, "工具条", (1, 800, 100, 247),
                [(0, "kSlotToolbarButtonClicked"), (8, "kSlotToolbarEvent8")],
                engine_values(TOOLBAR_EX, v0=1, v1=skin_block(TOOLBAR_SKIN), v2=36)),
        control(0x16012C9A, WINDOW_EX, "窗口EX", (4, 4, 24, 24), [],
                engine_values(WINDOW_EX, v0=1, v1=skin_block(PANEL_WINDOW_SKIN), v2=255,
                              v3=NO_SKIN, v4=NO_SKIN, v5=NO_SKIN)),
    ],
)

# ShellWatchWindow: never shown. It hears what the shell tells every top-level
# window (a new taskbar after the shell restarts, display and settings
# changes) and a second start's request, and it keeps the program running
# while the taskbar that held the dock is gone. A second start finds it by its
# own class name.
SHELL_WATCH_CLASS = "QuickDockShellWatch"
SHELL_WATCH_WINDOW = dict(
    id=0x52013001,
    handler_module=0x19013002,
    self_id=0x06013000,
    geometry=(0, 0, 0, 0),
    flags=0,
    options=dict(window_options(border=0, taskbar_button=0), start_position=0, always_on_top=0,
                 class_name=SHELL_WATCH_CLASS),
    events=[(0, "kSlotShellWatchCreated")],
    elements=[],
)

WINDOWS = [DOCK_WINDOW, DOCK_PANEL_WINDOW, SHELL_WATCH_WINDOW]

# The picture shown for shortcuts to folders, kept as a byte-set block.
FOLDER_IMAGE = "folder.png"
