#!/usr/bin/env python3
# A player outside the game's process: it looks at the X screen (through
# Xlib), moves and clicks the real mouse and presses keys (xdotool), and
# plays a whole game from the opening screens to the well-done screen. It
# knows only what a player could find out: where the menu entries and the
# cards stand for the screen size the log names, and what the screen shows.
#
#   external_player.py play LOG WINDOW PICTURES CAPTURES
#       LOG: the game's log file; WINDOW: its X window id; PICTURES: the
#       folder of the game's source pictures ("well done.png"); CAPTURES:
#       where the screen captures are kept when a step fails.
#   external_player.py compare-shot SCREENSHOT WINDOW CAPTURES
#       Whether the game's screenshot shows what the X screen shows in the
#       game's window now.
#   external_player.py wait-frame WINDOW LIMIT
#       Waits (up to LIMIT seconds) until the game has drawn a frame in its
#       window: a picture, where a window not drawn yet is one flat colour.
#   external_player.py press-until-changed KEY WINDOW PID LIMIT
#       Presses KEY until the picture in the window changes or the game (its
#       process id PID) ends, up to LIMIT seconds.
#
# Every step prints what it saw; a failed step prints "FAILED: <step>: why",
# keeps the captures and ends with exit code 1.
#
# The game counts its pauses in frames, and on a busy machine its frames
# come late: every step waits for what it needs to see (a frame, a card
# turned, a pair gone) with limits many times the game's own times, never
# for a fixed time. The game reads the keyboard, and in full screen the
# mouse, once a frame: a key is pressed again, held longer each time, until
# it shows its effect; in full screen the button is held down until the card
# turns (a held button clicks in every frame), and in a window, where each
# release is one click kept in the game's queue, a click that shows no
# effect is repeated (a click on a card already turned, or during a pair's
# fade, does nothing).
import ctypes
import ctypes.util
import os
import re
import subprocess
import sys
import time

# The board (game/geometry.cpp): 8 x 6 square cards, 10 pixels apart.
COLUMNS, ROWS, GAP = 8, 6, 10
# The menu panel (menu.png) is 680 x 640, centred; the Start entry stands
# 150 pixels below its top with a hit box 80 high, centred on the screen
# (ui/text_sprites.cpp, ui/controls.cpp). The middle of the screen lies in
# the gap between the two middle columns, so a button held a few frames
# after Start has dealt the board turns no card.
PANEL_HEIGHT = 640
START_TOP, MENU_ENTRY_HEIGHT = 150, 80
# The well-done picture, centred.
WELL_DONE_PICTURE = 'well done.png'
# The menu panel, centred; the menu's texts stand on it between these rows of
# the picture, its owl and border above and below them.
MENU_PICTURE = 'menu.png'
MENU_TEXT_ROWS = (130, 580)
# The pointer the game draws in full screen, its top-left corner at the
# mouse position.
POINTER_PICTURE = 'pointer.png'
# The first hold of a button or key; a key pressed again is held twice as
# long each time, up to HOLD_MOST.
HOLD, HOLD_MOST = 0.15, 1.2
# Frames of the 60-per-second loop (game/rules.cpp): a mismatch turns back
# after 81 checks; a pair fades out at 8 levels a frame from 255 (32
# frames); the well-done screen fades in over 32 frames.
MISMATCH_FRAMES, FADE_FRAMES = 81, 32
# Limits of the waits: far beyond what a game at even a few frames a second
# needs, so only a game that never gets there fails the test.
LIMIT = 90.0
# How long a click in a window, or a key, may take to show its effect
# before it is given again.
AGAIN = 3.0
# Mean difference per colour channel up to which two samples are one picture.
SAME = 6.0


class Failed(Exception):
    pass


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int),
                ('format', ctypes.c_int), ('data', ctypes.c_void_p), ('byte_order', ctypes.c_int),
                ('bitmap_unit', ctypes.c_int), ('bitmap_bit_order', ctypes.c_int), ('bitmap_pad', ctypes.c_int),
                ('depth', ctypes.c_int), ('bytes_per_line', ctypes.c_int), ('bits_per_pixel', ctypes.c_int),
                ('red_mask', ctypes.c_ulong), ('green_mask', ctypes.c_ulong), ('blue_mask', ctypes.c_ulong)]


class Screen:
    """Captures of the X screen (the root window) through Xlib's XGetImage,
    which reads the whole 1920x1080 screen in a few hundredths of a second
    (ImageMagick's import takes a quarter to half a second)."""

    def __init__(self, keep):
        self.keep = keep
        self.kept = []  # (name, capture) of the last few captures
        self.count = 0
        name = ctypes.util.find_library('X11')
        if not name:
            raise Failed('screen capture: libX11 not found')
        x = self.x = ctypes.CDLL(name)
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.display = x.XOpenDisplay(None)
        if not self.display:
            raise Failed('screen capture: cannot open the X display')
        self.root = x.XDefaultRootWindow(self.display)
        self.width = x.XDisplayWidth(self.display, 0)
        self.height = x.XDisplayHeight(self.display, 0)

    def capture(self, name='capture', box=None):
        """The whole screen, or the rectangle box (x, y, width, height) of it."""
        x0, y0, w, h = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(x0, 0), max(y0, 0)
        w, h = min(w, self.width - x0), min(h, self.height - y0)
        z_pixmap, all_planes = 2, 0xffffffff
        image = self.x.XGetImage(self.display, self.root, x0, y0, w, h, all_planes, z_pixmap)
        if not image:
            raise Failed('screen capture: XGetImage failed')
        im = image.contents
        try:
            # 24-bit TrueColor in 32-bit pixels, blue first (Xvfb's depth 24).
            if im.bits_per_pixel != 32 or im.byte_order != 0 or im.red_mask != 0xff0000:
                raise Failed('screen capture: %d bits a pixel, byte order %d, red mask %x: not 32-bit BGRX'
                             % (im.bits_per_pixel, im.byte_order, im.red_mask))
            cap = Capture(x0, y0, im.width, im.height, im.bytes_per_line,
                          ctypes.string_at(im.data, im.bytes_per_line * im.height))
        finally:
            self.x.XDestroyImage(image)
        self.count += 1
        self.kept.append(('%03d-%s' % (self.count, name), cap))
        del self.kept[:-6]
        return cap

    def save(self, name, cap):
        """Writes a capture as PNG into the captures folder; returns its path."""
        os.makedirs(self.keep, exist_ok=True)
        path = os.path.join(self.keep, name + '.png')
        subprocess.run(['convert', '-size', '%dx%d' % (cap.stride // 4, cap.height), '-depth', '8', 'bgra:-',
                        '-alpha', 'off', '-crop', '%dx%d+0+0' % (cap.width, cap.height), path],
                       input=cap.pixels, check=False)
        return path

    def save_kept(self):
        return [self.save(name, cap) for name, cap in self.kept]


class Capture:
    """Pixels of the screen from (x0, y0) on; rgb takes screen positions."""

    def __init__(self, x0, y0, width, height, stride, pixels):
        self.x0, self.y0 = x0, y0
        self.width, self.height, self.stride, self.pixels = width, height, stride, pixels

    def contains(self, x, y):
        return self.x0 <= x < self.x0 + self.width and self.y0 <= y < self.y0 + self.height

    def rgb(self, x, y):
        i = (y - self.y0) * self.stride + (x - self.x0) * 4
        return bytes((self.pixels[i + 2], self.pixels[i + 1], self.pixels[i]))

    def sample(self, left, top, size, grid=10, margin=0.2):
        """Colours on a grid x grid raster over the middle of a square."""
        inner = size * (1 - 2 * margin)
        pts = []
        for j in range(grid):
            for i in range(grid):
                x = int(left + size * margin + inner * i / (grid - 1))
                y = int(top + size * margin + inner * j / (grid - 1))
                pts.append(self.rgb(x, y))
        return b''.join(pts)


def difference(a, b):
    """Summed difference of the colour channels of two samples."""
    return sum(abs(p - q) for p, q in zip(a, b))


def distance(a, b):
    """Mean difference per colour channel between two samples."""
    return difference(a, b) / len(a)


def xdotool(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=True)


def say(text):
    print(text, flush=True)


def read_log_size(log):
    text = open(log, encoding='utf-8', errors='replace').read()
    w = re.search(r'^Screenwidth:\t\t(\d+)\r?$', text, re.M)
    h = re.search(r'^Screenheight:\t\t(\d+)\r?$', text, re.M)
    if not w or not h:
        raise Failed('log: no "Screenwidth:" and "Screenheight:" lines')
    return int(w.group(1)), int(h.group(1))


def window_geometry(window):
    got = subprocess.run(['xdotool', 'getwindowgeometry', '--shell', window], stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, universal_newlines=True, check=False)
    if got.returncode != 0:
        raise Failed('geometry: xdotool cannot read the game window %s: %s' % (window, got.stderr.strip()))
    out = got.stdout
    values = dict(line.split('=', 1) for line in out.split() if '=' in line)
    return int(values['X']), int(values['Y']), int(values['WIDTH']), int(values['HEIGHT'])


class Player:
    def __init__(self, log, window, pictures, keep):
        self.screen = Screen(keep)
        self.pictures = pictures
        self.width, self.height = read_log_size(log)
        x, y, w, h = window_geometry(window)
        say('geometry: the log says %dx%d; the game window is %dx%d at %d,%d on the X screen'
            % (self.width, self.height, w, h, x, y))
        if (w, h) != (self.width, self.height):
            raise Failed('geometry: the window is %dx%d, the log says %dx%d' % (w, h, self.width, self.height))
        self.ox, self.oy = x, y
        text = open(log, encoding='utf-8', errors='replace').read()
        self.fullscreen = 'Opening screen (Fullscreen):' in text
        if self.fullscreen:
            pw, ph, rgba = read_picture(os.path.join(pictures, POINTER_PICTURE))
            self.pointer_width, self.pointer_height = pw, ph
            self.pointer = [(px, py, rgba[(py * pw + px) * 4:(py * pw + px) * 4 + 3])
                            for py in range(ph) for px in range(pw) if rgba[(py * pw + px) * 4 + 3] == 255]
            self.gx, self.gy = self.width // 2, self.height // 2
        # The board for this screen size, as the game computes it.
        if (self.width, self.height) in ((1280, 1024), (1024, 1280)):
            self.card = (self.width - 80) // COLUMNS
        else:
            self.card = (self.height - 60) // ROWS
        pitch = self.card + GAP
        self.left = (self.width - pitch * COLUMNS) // 2 + GAP // 2
        self.top = (self.height - pitch * ROWS) // 2 + GAP // 2
        self.pitch = pitch
        say('geometry: cards of %d pixels, the top-left one at %d,%d' % (self.card, self.left, self.top))
        self.cells = [(c, r) for r in range(ROWS) for c in range(COLUMNS)]
        self.back = None

    # --- seeing ---------------------------------------------------------
    def cell_sample(self, cap, cell):
        c, r = cell
        return cap.sample(self.ox + self.left + self.pitch * c, self.oy + self.top + self.pitch * r, self.card)

    def capture(self, name='capture', box=None):
        return self.screen.capture(name, box)

    def cells_box(self, cells):
        """The rectangle of the X screen around some cards, for captures of
        that part alone: a few of them take less time from the game than
        one of the whole screen."""
        xs = [self.ox + self.left + self.pitch * c for c, _ in cells]
        ys = [self.oy + self.top + self.pitch * r for _, r in cells]
        return min(xs), min(ys), max(xs) + self.card - min(xs), max(ys) + self.card - min(ys)

    # --- acting ---------------------------------------------------------
    # In a window the game takes the system pointer's position. In full
    # screen it reads the mouse's motion and moves a pointer of its own,
    # kept to the screen, from the middle of the screen, drawn from the
    # menu on: a player moves the mouse by so much, as with a real mouse,
    # and watches that pointer.
    def home_pointer(self):
        if self.fullscreen:
            # Far up and left: the game's pointer stops in the top-left corner.
            xdotool('mousemove_relative', '--', -2 * self.width, -2 * self.height)
            self.gx = self.gy = 0
            self.wait_for('pointer: the game does not draw its pointer in the top-left corner after the mouse '
                          'went far up and left', LIMIT, lambda cap: self.pointer_at(cap, 0, 0), 'pointer',
                          self.pointer_box(0, 0))
            say('pointer: in full screen the game draws its own pointer; moved to the top-left corner')
        self.park_pointer()

    def pointer_at(self, cap, x, y):
        """Whether the game's pointer picture stands at (x, y) of its screen."""
        total = count = 0
        for px, py, colour in self.pointer:
            if cap.contains(self.ox + x + px, self.oy + y + py):
                total += difference(cap.rgb(self.ox + x + px, self.oy + y + py), colour)
                count += 3
        return count > 0 and total / count < SAME

    def move_to(self, x, y, check=False):
        if not self.fullscreen:
            xdotool('mousemove', '--sync', self.ox + x, self.oy + y)
            return
        x = min(max(x, 0), self.width - 1)
        y = min(max(y, 0), self.height - 1)
        xdotool('mousemove_relative', '--', x - self.gx, y - self.gy)
        self.gx, self.gy = x, y
        if check:
            self.wait_for('pointer: the game does not draw its pointer at %d,%d where the mouse was moved' % (x, y),
                          LIMIT, lambda cap: self.pointer_at(cap, x, y), 'pointer', self.pointer_box(x, y))

    def pointer_box(self, x, y):
        return self.ox + x, self.oy + y, self.pointer_width, self.pointer_height

    def park_pointer(self):
        # In full screen the game's pointer picture would cover the card the
        # player looks at: it goes to the bottom-right corner, on no card,
        # where it is drawn off the screen. The system pointer of a window
        # is not in the captures and stays where it clicked.
        if self.fullscreen:
            self.move_to(self.width - 2, self.height - 2)

    def click_until(self, x, y, step, test, box=None):
        """Left clicks at (x, y) of the game's screen until test(capture)
        holds; returns that capture."""
        self.move_to(x, y, check=True)
        if self.fullscreen:
            # Held down, the button clicks in every frame the game polls it.
            xdotool('mousedown', 1)
            try:
                cap = self.wait_for(step, LIMIT, test, 'click', box)
            finally:
                xdotool('mouseup', 1)
            self.park_pointer()
            return cap
        end = time.monotonic() + LIMIT
        while True:
            xdotool('mousedown', 1, 'sleep', HOLD, 'mouseup', 1)
            try:
                return self.wait_for(step, min(AGAIN, max(end - time.monotonic(), 0)), test, 'click', box)
            except Failed:
                if time.monotonic() > end:
                    raise

    def press(self, key, hold=HOLD):
        press(key, hold)

    def card_centre(self, cell):
        c, r = cell
        return self.left + self.pitch * c + self.card // 2, self.top + self.pitch * r + self.card // 2

    # --- waiting --------------------------------------------------------
    def wait_for(self, step, limit, test, name, box=None):
        """Captures (of box only, if given) until test(capture) is true;
        returns that capture."""
        end = time.monotonic() + limit
        while True:
            cap = self.capture(name, box)
            if test(cap):
                return cap
            if time.monotonic() > end:
                raise Failed(step)
            time.sleep(0.03)

    # --- the game -------------------------------------------------------
    def menu_sample(self, cap):
        return [self.cell_sample(cap, cell) for cell in ((0, 0), (7, 0), (0, 5), (7, 5))]

    def reach_menu(self):
        # The opening screens are full-screen pictures; the menu is its panel
        # (seen where no text stands on it) over the dimmed board, whose four
        # corner cards lie outside the panel and all show the same card back.
        # Space takes the logo to the title and the title to the menu, and
        # does nothing there: it is pressed until the menu shows (the opening
        # screens may also have passed by themselves).
        pw, ph, rgba = read_picture(os.path.join(self.pictures, MENU_PICTURE))
        left, top = self.ox + (self.width - pw) // 2, self.oy + (self.height - ph) // 2
        panel = [(left + x, top + y, rgba[(y * pw + x) * 4:(y * pw + x) * 4 + 3])
                 for y in range(0, ph, 8) for x in range(0, pw, 8)
                 if rgba[(y * pw + x) * 4 + 3] == 255 and not MENU_TEXT_ROWS[0] <= y < MENU_TEXT_ROWS[1]]

        def on_menu(cap):
            shown = sum(difference(cap.rgb(x, y), colour) for x, y, colour in panel) / (3 * len(panel))
            corners = self.menu_sample(cap)
            return shown < SAME and all(distance(corners[0], s) < SAME for s in corners[1:])
        end = time.monotonic() + LIMIT
        hold = HOLD
        presses = 0
        while True:
            self.press('space', hold)
            presses += 1
            try:
                cap = self.wait_for('main menu: after %d Space presses the menu panel over the dimmed board '
                                    'does not show' % presses, min(AGAIN, max(end - time.monotonic(), 0)),
                                    on_menu, 'menu')
                break
            except Failed:
                if time.monotonic() > end:
                    raise
            hold = min(hold * 2, HOLD_MOST)
        self.menu_back = self.menu_sample(cap)[0]
        say('main menu: reached after %d Space presses (the dimmed board around the panel)' % presses)

    def start_game(self):
        panel_top = (self.height - PANEL_HEIGHT) // 2
        x, y = self.width // 2, panel_top + START_TOP + MENU_ENTRY_HEIGHT // 2

        def dealt(cap):
            samples = [self.cell_sample(cap, cell) for cell in self.cells]
            return all(distance(samples[0], s) < SAME for s in samples[1:]) and \
                distance(samples[0], self.menu_back) >= SAME
        cap = self.click_until(x, y, 'start: after clicks on Start at %d,%d the board does not show 48 undimmed '
                               'card backs' % (x, y), dealt)
        self.back = self.cell_sample(cap, (0, 0))
        say('start: clicked Start at %d,%d; the board shows 48 card backs' % (x, y))

    def turn(self, cell, known, partner=None):
        """Clicks a face-down card; returns the sample of its face and, for
        the second card of a move (partner: the first card and its face),
        whether the two make a pair."""
        x, y = self.card_centre(cell)
        # A capture may catch a frame half drawn: a face counts once two
        # captures in a row show it alike. A pair starts fading in the frame
        # after it is complete, so the second card of a pair is taken as
        # soon as it shows the first card's face, or the first card fades.
        last = [None]
        paired = [False]

        def turned(cap):
            face = self.cell_sample(cap, cell)
            settled = face == last[0] and distance(face, self.back) >= SAME
            last[0] = face
            if partner and distance(face, self.back) >= SAME:
                if distance(face, partner[1]) < SAME or \
                        distance(self.cell_sample(cap, partner[0]), partner[1]) >= SAME:
                    paired[0] = True
                    return True
            return settled
        try:
            self.click_until(x, y, 'play: the card in column %d, row %d (clicked at %d,%d) did not turn'
                             % (cell[0], cell[1], x, y), turned,
                             self.cells_box([cell, partner[0]] if partner else [cell]))
            cap = self.capture('turned')
        except Failed as e:
            cap = self.capture('not-turned')
            changed = ['column %d, row %d' % other for other, sample in known.items()
                       if other != cell and (not partner or other != partner[0])
                       and distance(self.cell_sample(cap, other), sample) >= SAME]
            raise Failed('%s%s' % (e, '; the card in %s changed instead' % ' and '.join(changed) if changed else ''))
        # Every other card must be as it was: a click turns only its own card.
        for other, sample in known.items():
            if other != cell and (not partner or other != partner[0]) and \
                    distance(self.cell_sample(cap, other), sample) >= SAME:
                raise Failed('play: clicking column %d, row %d changed the card in column %d, row %d'
                             % (cell[0], cell[1], other[0], other[1]))
        return last[0], paired[0]

    def wait_turned_back(self, cells):
        # Looking starts a little before the pause can end, counted from the
        # second card showing its face, which lags its click by a frame or
        # more: the captures would only take processor time from the game.
        time.sleep(MISMATCH_FRAMES / 60 - 0.2)
        self.wait_for('play: a mismatch (columns/rows %s) did not turn back within %.1f s' % (cells, LIMIT),
                      LIMIT,
                      lambda cap: all(distance(self.cell_sample(cap, c), self.back) < SAME for c in cells),
                      'turned-back', self.cells_box(cells))

    def wait_removed(self, cells, faces):
        """Waits until a found pair has faded out and the game has removed it:
        only then does it take the next click."""
        # The fade changes both cards in every frame until they are gone:
        # gone is neither face nor back, and then unchanged for three times
        # the longest the fade took from one change to the next (however
        # slowly the game draws), after at least the fade's 32 frames. Should
        # that be judged too early, the next click is only given again.
        began = time.monotonic()
        time.sleep(FADE_FRAMES / 60 - 0.2)
        last = [None, began]  # the samples last seen changed, and when
        longest = [0.1 / 3]

        def gone(cap):
            now = [self.cell_sample(cap, c) for c in cells]
            t = time.monotonic()
            if now != last[0]:
                longest[0] = max(longest[0], t - last[1])
                last[0], last[1] = now, t
                return False
            if any(distance(now[i], faces[i]) < SAME or distance(now[i], self.back) < SAME
                   for i in range(len(cells))):
                return False
            return t - last[1] >= 3 * longest[0] and t - began >= FADE_FRAMES / 60
        self.wait_for('play: the pair %s did not vanish within %.1f s' % (cells, LIMIT), LIMIT, gone,
                      'vanished', self.cells_box(cells))

    def play(self):
        start = time.monotonic()
        seen = {}          # face-down cards whose face has been seen: cell -> sample
        on_board = set(self.cells)
        face_down = {c: self.back for c in self.cells}  # what every card on the board shows at rest
        moves = mismatches = 0

        def match_of(sample, exclude):
            for cell, s in seen.items():
                if cell != exclude and distance(s, sample) < SAME:
                    return cell
            return None

        def unseen(exclude=None):
            for cell in self.cells:
                if cell in on_board and cell not in seen and cell != exclude:
                    return cell
            return None

        while on_board:
            moves += 1
            pair = None
            for cell, s in seen.items():
                other = match_of(s, cell)
                if other:
                    pair = (cell, other)
                    break
            first = pair[0] if pair else unseen()
            if first is None:
                raise Failed('play: %d cards are left but every one has been seen and none match' % len(on_board))
            face1, _ = self.turn(first, face_down)
            if pair and distance(face1, seen[first]) >= SAME:
                raise Failed('play: the card in column %d, row %d shows another face than before' % first)
            second = pair[1] if pair else match_of(face1, first)
            expected = second is not None
            if second is None:
                second = unseen(first)
                if second is None:
                    raise Failed('play: the card in column %d, row %d has no partner left' % first)
            rest = dict(face_down)
            rest[first] = face1
            face2, paired = self.turn(second, rest, (first, face1))
            say('  move %d: column %d row %d, then column %d row %d: %s'
                % (moves, first[0], first[1], second[0], second[1], 'a pair' if paired else 'no pair'))
            if paired:
                self.wait_removed([first, second], [face1, face1])
                for c in (first, second):
                    on_board.discard(c)
                    seen.pop(c, None)
                    face_down.pop(c)
            else:
                if expected:
                    raise Failed('play: the card in column %d, row %d showed another face than when it was '
                                 'seen' % second)
                mismatches += 1
                seen[first] = face1
                seen[second] = face2
                self.wait_turned_back([first, second])
        say('play: all 24 pairs found in %d moves (%d mismatches) in %.1f s'
            % (moves, mismatches, time.monotonic() - start))

    def check_well_done(self):
        picture = read_picture(os.path.join(self.pictures, WELL_DONE_PICTURE))
        pw, ph, rgba = picture
        left = self.ox + (self.width - pw) // 2
        top = self.oy + (self.height - ph) // 2
        # The opaque pixels of the picture on a raster: once faded in it is
        # drawn at full strength, so they show exactly.
        points = []
        for y in range(0, ph, 8):
            for x in range(0, pw, 8):
                i = (y * pw + x) * 4
                if rgba[i + 3] == 255:
                    points.append((x, y, rgba[i:i + 3]))

        def shown(cap):
            diff = sum(difference(cap.rgb(left + x, top + y), colour)
                       for x, y, colour in points)
            return diff / (3 * len(points)) < SAME
        self.wait_for('well done: the well-done picture is not on the screen after the last pair',
                      LIMIT, shown, 'well-done', (left, top, pw, ph))
        cap = self.capture('well-done')
        say('well done: the well-done picture stands at the centre (%d opaque points compared)' % len(points))
        return cap


def press(key, hold=HOLD):
    xdotool('keydown', key, 'sleep', hold, 'keyup', key)


def raster(cap, grid=16):
    """Colours on a grid x grid raster over the whole of a capture."""
    return b''.join(cap.rgb(cap.x0 + (cap.width - 1) * i // (grid - 1), cap.y0 + (cap.height - 1) * j // (grid - 1))
                    for j in range(grid) for i in range(grid))


def running(pid):
    """Whether the process is there and has not ended (a zombie has)."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            return f.read().rsplit(')', 1)[1].split()[0] != 'Z'
    except (OSError, IndexError):
        return False


def wait_frame(window, limit):
    """Waits until the window shows a drawn frame: a picture of many
    colours, where a window the game has not drawn in is one flat colour."""
    end = time.monotonic() + float(limit)
    screen = Screen(None)
    while True:
        try:
            box = window_geometry(window)
            colours = len({raster(screen.capture('frame', box))[i:i + 3] for i in range(0, 16 * 16 * 3, 3)})
            if colours >= 8:
                say('frame: the game has drawn in its window (%d colours on a 16 x 16 raster)' % colours)
                return 0
        except Failed:
            pass  # the window may be replaced while the display opens
        if time.monotonic() > end:
            say('FAILED: frame: the game drew nothing in its window within %s s' % limit)
            return 1
        time.sleep(0.1)


def press_until_changed(key, window, pid, limit):
    """Presses key, held longer each time, until the picture in the window
    changes or the game ends."""
    end = time.monotonic() + float(limit)
    try:
        screen = Screen(None)
        box = window_geometry(window)
        before = raster(screen.capture('before', box))
    except Failed as e:
        say('FAILED: key %s: %s' % (key, e))
        return 0 if not running(int(pid)) else 1
    hold = HOLD
    presses = 0
    while time.monotonic() < end:
        press(key, hold)
        presses += 1
        again = time.monotonic() + AGAIN
        while time.monotonic() < min(again, end):
            if not running(int(pid)):
                say('key %s: the game ended after %d presses' % (key, presses))
                return 0
            if distance(raster(screen.capture('after', box)), before) >= SAME:
                say('key %s: the picture changed after %d presses' % (key, presses))
                return 0
            time.sleep(0.05)
        hold = min(hold * 2, HOLD_MOST)
    say('FAILED: key %s: %d presses in %s s changed nothing in the window' % (key, presses, limit))
    return 1


def read_picture(path):
    """(width, height, RGBA bytes) of a PNG, through ImageMagick."""
    size = subprocess.run(['identify', '-format', '%w %h', path], stdout=subprocess.PIPE,
                          universal_newlines=True, check=True).stdout.split()
    raw = subprocess.run(['convert', path, '-depth', '8', 'rgba:-'], stdout=subprocess.PIPE, check=True).stdout
    w, h = int(size[0]), int(size[1])
    if len(raw) != w * h * 4:
        raise Failed('%s: could not read the picture' % path)
    return w, h, raw


def play(log, window, pictures, keep):
    player = None
    step_start = time.monotonic()
    try:
        player = Player(log, window, pictures, keep)
        player.reach_menu()
        player.home_pointer()
        player.start_game()
        player.play()
        cap = player.check_well_done()
        player.screen.save('well-done', cap)
    except (Failed, subprocess.CalledProcessError) as e:
        say('FAILED: %s' % e)
        if player:
            # The last captures (some of them of a few cards only) and the
            # whole screen as it is now.
            paths = player.screen.save_kept()
            try:
                paths.append(player.screen.save('at-failure', player.screen.capture()))
            except Failed:
                pass
            for path in paths:
                say('  capture kept: %s' % path)
        return 1
    say('player: done in %.1f s, %d screen captures' % (time.monotonic() - step_start, player.screen.count))
    return 0


def compare_shot(shot, window, keep):
    """The game's screenshot against the X screen in the game's window."""
    try:
        x, y, w, h = window_geometry(window)
        sw, sh, rgba = read_picture(shot)
        if (sw, sh) != (w, h):
            raise Failed('screenshot: %dx%d, the game screen is %dx%d' % (sw, sh, w, h))
        cap = Screen(keep).capture()
        total = count = 0
        for py in range(0, h, 16):
            for px in range(0, w, 16):
                i = (py * w + px) * 4
                total += difference(rgba[i:i + 3], cap.rgb(x + px, y + py))
                count += 3
        mean = total / count
        if mean >= SAME:
            Screen(keep).save('screen-at-screenshot', cap)
            raise Failed('screenshot: differs from the screen by %.1f per channel on a 16-pixel raster' % mean)
        say('screenshot: %dx%d, shows the screen (mean difference %.2f per channel)' % (sw, sh, mean))
    except (Failed, subprocess.CalledProcessError) as e:
        say('FAILED: %s' % e)
        return 1
    return 0


if __name__ == '__main__':
    if len(sys.argv) == 6 and sys.argv[1] == 'play':
        sys.exit(play(*sys.argv[2:]))
    if len(sys.argv) == 5 and sys.argv[1] == 'compare-shot':
        sys.exit(compare_shot(*sys.argv[2:]))
    if len(sys.argv) == 4 and sys.argv[1] == 'wait-frame':
        sys.exit(wait_frame(*sys.argv[2:]))
    if len(sys.argv) == 6 and sys.argv[1] == 'press-until-changed':
        sys.exit(press_until_changed(*sys.argv[2:]))
    sys.exit('usage: external_player.py play LOG WINDOW PICTURES CAPTURES | compare-shot SCREENSHOT WINDOW '
             'CAPTURES | wait-frame WINDOW LIMIT | press-until-changed KEY WINDOW PID LIMIT')
