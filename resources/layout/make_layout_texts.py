#!/usr/bin/env python3
"""Writes the per-language layout texts ORG1.txt, ORG2.txt and ORG3.txt.

Positions start from the form design (resources/form/Form1.txt), so that a layout puts
each control where the design, drawn against the skin pictures, already shows it; the
tables below change what differs per language and place the controls the design leaves
to the layout. Run it from anywhere after changing the design or the tables:

    python3 resources/layout/make_layout_texts.py

The written texts are what the program embeds; commit them with this script.
"""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
DESIGN = os.path.join(HERE, '..', 'form', 'Form1.txt')


def read_design(path):
    controls, stack = {}, []
    with open(path, encoding='utf-8') as f:
        for line in f:
            s = line.strip()
            m = re.match(r'object (\w+): (\w+)', s)
            if m:
                controls[m.group(1)] = {}
                stack.append(m.group(1))
            elif s == 'end':
                stack.pop()
            elif stack:
                m = re.match(r'(Left|Top|Width|Height) = (-?\d+)$', s)
                if m:
                    controls[stack[-1]][m.group(1)] = int(m.group(2))
    return controls


D = read_design(DESIGN)


def at(name, dx=0, dy=0):
    c = D[name]
    return c['Left'] + dx, c['Top'] + dy


# Colours of the dark skin: light text, graphite backgrounds, the cyan accent.
WHITE = (255, 255, 255)
TEXT = (216, 220, 226)
ACCENT = (25, 180, 200)
# Text of the header and menu buttons in the third layout: the skin's cyan.
ACCENT3 = (64, 196, 221)
BACK = (30, 33, 38)
PANEL = (43, 47, 54)
MENU = (32, 40, 48)
MUTED = (138, 146, 158)

# own_size: header buttons whose caption is too long for its group's size in that language
# and takes a smaller one of its own, to stand clear of the rounded ends of its picture.
LANGUAGES = {
    1: dict(size_b=12, color_ab=WHITE, space=(1, 1), langs=(0, 0, 0), confirm3=0, combos=1,
            own_size={'Btn_B1': 10}),
    2: dict(size_b=11, color_ab=WHITE, space=(2, 2), langs=(1, 1, 1), confirm3=1, combos=1,
            own_size={}),
    3: dict(size_b=13, color_ab=ACCENT3, space=(6, 6), langs=(1, 0, 1), confirm3=1, combos=1,
            own_size={'Btn_A2': 10}),
}


class Text:
    def __init__(self, n, own_size):
        self.n = n
        self.own_size = own_size
        self.lines = []
        self.keys = []

    def banner(self, title):
        self.lines += ['', '//' + '*' * 60, '; ' + title, '//' + '*' * 60]

    def note(self, text):
        self.lines.append('; ' + text)

    def put(self, key, value):
        assert key.lower() not in (k.lower() for k in self.keys), key
        self.keys.append(key)
        self.lines.append('%s=%d' % (key, value))

    def point(self, prefix, xy):
        self.put(prefix + '_X', xy[0])
        self.put(prefix + '_Y', xy[1])

    def color(self, prefix, rgb):
        for part, v in zip('RGB', rgb):
            self.put('%s_%s' % (prefix, part), v)

    def button(self, prefix, enabled, xy):
        self.put(prefix + '_Enable', enabled)
        self.point(prefix, xy)
        if prefix in self.own_size:
            self.put(prefix + '_Size', self.own_size[prefix])


def chrome(t, lang):
    t.banner('A: confirm, exit and minimise buttons (five page copies)')
    t.put('Size_A', 11)
    t.color('Color_A', lang['color_ab'])
    t.button('Btn_A2', 1, at('Img_Confirm1_1'))
    t.button('Btn_A3', 1, at('Img_Confirm2_1'))
    t.button('Btn_A5', lang['confirm3'], at('Img_Confirm3_1'))
    t.note('exit as an icon in the header, exit as a framed button with its text')
    t.button('Btn_A4', 1, at('Img_Exit1_1'))
    # Without the third confirm button the text exit button closes the gap it leaves.
    t.button('Btn_A6', 1, at('Img_Exit2_1') if lang['confirm3'] else at('Img_Confirm3_1'))
    t.button('Btn_A7', 1, at('Img_Mini_1'))


# Width of the header's button pictures, and the row of page and profile buttons.
MENU_BUTTON_W = 120
MENU_ROW_X = 16
MENU_GAP = 1


def menu(t, lang):
    t.banner('B: page, profile, save, load and language buttons')
    t.put('Size_B', lang['size_b'])
    t.color('Color_B', lang['color_ab'])
    t.note('caption inset from the left and right edge of each button picture')
    t.put('Btn_Space_F', lang['space'][0])
    t.put('Btn_Space_B', lang['space'][1])
    # The page and profile row of the header, clear of the web button at its right end;
    # save and load side by side at the bottom left.
    row_y = D['Img_Main_1']['Top']
    for i, k in enumerate([1, 2, 3, 4, 5, 11, 12]):
        t.button('Btn_B%d' % k, 1, (MENU_ROW_X + i * (MENU_BUTTON_W + MENU_GAP), row_y))
    save = at('Img_Save_1')
    t.button('Btn_B6', 1, save)
    t.button('Btn_B7', 1, (save[0] + MENU_BUTTON_W + 2, save[1]))
    t.note('language buttons 1..3: 1 shown, 0 hidden')
    shown = [i for i in range(3) if lang['langs'][i]]
    for i in range(3):
        # The shown language buttons sit side by side from the first place on.
        slot = shown.index(i) if i in shown else i
        first = at('Img_Lang1_1')
        t.button('Btn_B%d' % (8 + i), lang['langs'][i],
                 (first[0] + slot * (MENU_BUTTON_W + 2), first[1]))


# Key j of the mouse drives the label numbered here (the page numbers its labels down the
# two columns of the picture).
LABEL_OF_KEY = [0, 1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12]


KEY_PAGE_SHIFT = 180


def key_page(t, lang):
    t.banner('C: mouse-key page')
    t.put('Size_C', 9)
    t.color('Color_C', WHITE)
    # With the combination switches shown, the mouse picture moves right so that each
    # switch's caption stands on one line beside its box.
    dx = KEY_PAGE_SHIFT if lang['combos'] else 0
    t.point('P1', at('Img_P1', dx))
    t.note('Key2 places the label of key 4 and Key4 that of key 2; likewise 3/7 and 6/8')
    for j in range(1, 13):
        t.button('Key%d' % j, 1, at('Img_Key%d' % LABEL_OF_KEY[j], dx))
    t.note('combination switches; the eighth shows on profile 2 with the gun display')
    for j in range(1, 9):
        t.button('ComboKey%d' % j, lang['combos'], at('Img_ComboKey%d' % j))


def key_menu(t, lang):
    t.banner('G: button-function menus')
    t.put('Size_G', 9)
    t.color('Color_G', TEXT)
    t.color('Color_G_Back', MENU)
    t.color('Color_G_Border', ACCENT)
    t.note('hot item: text and background')
    t.color('Color_G_SF', WHITE)
    t.color('Color_G_SP', ACCENT)
    t.note('widths of the main menu, the special menu and the other menus')
    t.put('M_L_W', 170)
    t.put('SP_L_W', 150)
    t.put('O_L_W', 150)


# Each DPI level is a row: check picture, colour swatch, caption, twelve step cells and the
# value, with a gap between the swatches of neighbouring rows.
DPI_ROW_TOP = 128
DPI_ROW_PITCH = 43
DPI_CHECK_X, DPI_COLOR_X, DPI_LABEL_X, DPI_STEPS_X, DPI_VALUE_X = 127, 147, 183, 228, 496


def performance_page(t, lang):
    t.banner('D: performance page')
    t.put('Size_D', 9)
    t.color('Color_D_Selected', ACCENT)
    t.color('Color_D_notSelected', TEXT)
    t.color('Color_D_Back', BACK)
    t.color('Color_D_Border', ACCENT)
    t.point('P2', at('Img_P2'))
    for j in range(1, 4):
        t.point('FK%dCnt' % j, at('Edt_Repeat%d' % j))
        t.point('FK%dDelay' % j, at('Edt_DelayTime%d' % j))
        t.point('FK%dContinue' % j, at('Img_Fire%dContinue' % j))
    t.note('report rate choices')
    for j in range(1, 5):
        t.point('Rep%d' % j, (566 + 80 * (j - 1), 466))
    t.note('speed rows: first cell; _D is the cell style')
    t.point('Spd', at('Img_Spd1'))
    if t.n != 3:
        t.put('Spd_D', 0)
    t.point('IsControl', at('Img_IsControl'))
    t.point('DbSpd', at('Img_DbSpd1'))
    t.put('DbSpd_D', 0)
    t.point('ScrSpd', at('Img_ScrSpd1'))
    t.put('ScrSpd_D', 0)
    t.point('IsScreen', (830, 322))
    t.note('DPI step bars: 0 stacked upward, 1 to the right')
    t.put('DPI_Orientation', 1)
    for j in range(1, 9):
        top = DPI_ROW_TOP + DPI_ROW_PITCH * (j - 1)
        t.point('DPI%d' % j, (DPI_LABEL_X, top + 12))
        t.point('DPI%d_Check' % j, (DPI_CHECK_X, top + 12))
        t.point('DPI%d_Color' % j, (DPI_COLOR_X, top))
        t.point('DPI%d_Value' % j, (DPI_VALUE_X, top + 12))
        t.point('DPI%d_Steps' % j, (DPI_STEPS_X, top + 11))
        t.put('DPI%d_Steps_D' % j, 2)
    aim = DPI_ROW_TOP + DPI_ROW_PITCH * 8
    t.point('AIMDPI', (DPI_LABEL_X, aim + 1))
    t.point('AIMDPI_Value', (DPI_VALUE_X, aim + 1))
    t.point('AIMDPI_Steps', (DPI_STEPS_X, aim))
    t.put('AIMDPI_Steps_D', 2)


def lighting_page(t, lang):
    t.banner('E: lighting page')
    t.put('Size_E', 9)
    t.color('Color_E', TEXT)
    t.point('P3', at('Img_P3'))
    t.point('StepTime', at('Img_Fall1'))
    t.put('StepTime_D', 2)
    for j in range(1, 7):
        t.point('LEDMode%d' % j, at('Img_LED%d' % j))
    for j in range(1, 11):
        t.point('LEDColor%d' % j, at('Img_Col%d' % j))


def macro_page(t, lang):
    t.banner('F: macro page')
    t.put('Size_F', 8)
    t.color('Color_F', WHITE)
    t.note('lists: background and border; list text; button background')
    t.color('Color_F_LBack', BACK)
    t.color('Color_F_LBorder', ACCENT)
    t.color('Color_F_Font', TEXT)
    t.color('Color_F_Back', PANEL)
    t.point('P4', at('Img_P4'))
    for key, lst in [('PCMacroName', 'LB_PCMacroName'), ('MseMacroName', 'LB_MacroName'),
                     ('MacroContent', 'LB_macro')]:
        t.point(key, at(lst))
        t.put(key + '_H', D[lst]['Height'])
        t.put(key + '_W', D[lst]['Width'])
    t.put('MacroNameHeight', 18)
    # Under the mouse's macro list and the content list, first of their button rows.
    t.point('BtnNew', (329, 366))
    t.point('BtnStart', (527, 366))
    t.point('DelayTime', at('Gb_Delay'))
    t.point('RecDelay', at('LED_RecDelay'))
    t.put('RecDelay_H', D['LED_DelayTime']['Top'] - D['LED_RecDelay']['Top'])
    t.point('DelayEdit', at('Edt_Delay'))
    t.point('Insert', at('Gb_Insert'))
    t.point('InsertList', at('CB_Insert'))
    t.point('InsertRecDelay', at('LED_InsertRecDelay'))
    t.put('InsertRecDelay_H', D['LED_InsertDelayTime']['Top'] - D['LED_InsertRecDelay']['Top'])
    t.point('InsertDelayEdit', at('Edt_InsertDelay'))
    t.point('InsertAxisEdit', at('edt_YAxisValue'))
    t.point('InsertBtnStart', at('Img_InsertStart'))
    t.point('InsertBtnOK', at('Img_OK'))
    t.point('InsertBtnCancel', at('Img_Cancel'))


def update_page(t, lang):
    t.banner('I: update page')
    t.put('Size_I', 9)
    t.color('Color_I', TEXT)
    t.point('P5', at('Img_P5'))
    t.point('lbl_BINPath', at('lbl_BINPath'))
    t.point('lbl_LoadBin', at('lbl_LoadBIN'))
    t.point('Btn_LoadBin', at('Img_LoadBIN'))
    t.point('Btn_Program', at('Img_Program'))
    t.point('Btn_WebLink', at('Btn_WebLink'))


def fire_page(t, lang):
    t.banner('J: fire-macro page')
    t.put('Size_J', 9)
    t.color('Color_J', TEXT)
    t.note('parameter edits: text, background, border')
    t.color('Color_J_Font', TEXT)
    t.color('Color_J_Back', BACK)
    t.color('Color_J_Border', ACCENT)
    t.point('P6', at('Img_P6'))
    for j in range(1, 8):
        t.point('Fire%d' % j, at('Img_Fire%d' % j))
    for j in range(1, 6):
        t.point('GunMode%d' % j, at('Img_GunMode%d' % j))
    t.point('IsHasLK', at('Img_FireSelLeft'))
    for stem, edit in [('FireCnt%d', 'Edt_FireCnt%d'), ('FireX%d', 'Edt_FireX%d'),
                       ('FireX%d_Offset', 'Edt_FireX%dOffset'), ('FireY%d', 'Edt_FireY%d'),
                       ('FireY%d_Offset', 'Edt_FireY%dOffset'),
                       ('FireTime%d', 'Edt_FireTime%d')]:
        for j in range(1, 4):
            t.point(stem % j, at(edit % j))
    for j in range(1, 4):
        t.point('FireColor%d' % j, at('Img_FireColor%d' % j))
    t.point('FireConfirm', at('Img_FireConfirm'))
    t.point('FireCancel', at('Img_FireExit'))


def dialogs(t, lang):
    # The small dialogs place their own controls from these keys (client coordinates of
    # a 320 x 200 dialog).
    t.banner('K: combination-key dialog')
    t.put('Size_K', 9)
    t.color('Color_K', TEXT)
    t.color('Color_K_AK', ACCENT)
    t.point('AKT', (20, 20))
    t.point('AKC', (20, 48))
    t.put('AKC_W', 280)
    t.point('MK_A', (20, 90))
    t.point('MK_C', (90, 90))
    t.point('MK_S', (160, 90))
    t.point('MK_W', (230, 90))
    t.point('AK_Cfm', (20, 150))
    t.point('AK_Clear', (116, 150))
    t.point('AK_Close', (212, 150))
    t.banner('L: macro-name, macro-content and delay dialogs')
    t.put('Size_L', 9)
    t.color('Color_L', TEXT)
    t.color('Color_L_MN', ACCENT)
    t.point('MNT', (20, 20))
    t.point('MNC', (20, 52))
    t.put('MNC_W', 280)
    t.point('MN_Cfm', (20, 150))
    t.point('MN_Clear', (116, 150))
    t.point('MN_Close', (212, 150))
    t.banner('M: X/Y value dialog')
    t.put('Size_M', 9)
    t.color('Color_M', TEXT)
    t.color('Color_M_MN', ACCENT)
    t.point('NewX', (20, 30))
    t.point('NewY', (20, 74))
    t.point('NewXVal', (80, 26))
    t.put('NewXVal_W', 120)
    t.point('NewYVal', (80, 70))
    t.put('NewYVal_W', 120)
    t.point('NewXY_Cfm', (20, 150))
    t.point('NewXY_Clear', (116, 150))
    t.point('NewXY_Close', (212, 150))


def write(n):
    lang = LANGUAGES[n]
    t = Text(n, lang['own_size'])
    t.lines += [';' + '*' * 64, '; Layout of the main window with language %d' % n,
                '; Sizes are font points; colours are _R, _G, _B (0..255); _Enable is 1 shown,',
                '; 0 hidden; coordinates are client pixels (2000 and more: out of sight).',
                '; A button\'s _Size, where given, is its caption\'s own size instead of its group\'s.',
                ';' + '*' * 64, '[org%d]' % n]
    for part in (chrome, menu, key_page, key_menu, performance_page, lighting_page, macro_page,
                 update_page, fire_page, dialogs):
        part(t, lang)
    for prefix in t.own_size:
        assert prefix + '_Size' in t.keys, prefix + ' is no button of the layout'
    path = os.path.join(HERE, 'ORG%d.txt' % n)
    with open(path, 'w', newline='\r\n', encoding='ascii') as f:
        f.write('\n'.join(t.lines) + '\n')
    return len(t.keys)


if __name__ == '__main__':
    for n in (1, 2, 3):
        print('ORG%d.txt: %d keys' % (n, write(n)))
