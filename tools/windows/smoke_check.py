#!/usr/bin/env python3
"""Checks what the Windows smoke test's runs left behind: the logs, settings
and screenshot of the normal run against the Linux program's, and the
traces of the fatal run. Prints one line per fault; exit code 1 if any.

Usage: smoke_check.py WORK SOURCE_DIR
with the environment of smoke_test.sh (folders and Windows paths)."""
import os
import re
import sys

work, source = sys.argv[1], sys.argv[2]
sys.path.insert(0, os.path.join(source, 'tests', 'support'))
from png_sample import sample_colours  # noqa: E402
env = os.environ
faults = []


def fault(text):
    faults.append(text)
    print('FAULT: ' + text)


def read_lines(path, bom):
    """The lines of a CR LF text file, checking its byte-order mark."""
    data = open(path, 'rb').read()
    has_bom = data.startswith(b'\xef\xbb\xbf')
    if has_bom != bom:
        fault('%s: byte-order mark %s' % (path, 'present' if has_bom else 'missing'))
    if has_bom:
        data = data[3:]
    if not data.endswith(b'\r\n'):
        fault('%s: does not end in CR LF' % path)
    lines = data.split(b'\r\n')
    if lines and lines[-1] == b'':
        lines.pop()
    for n, line in enumerate(lines, 1):
        if b'\r' in line or b'\n' in line:
            fault('%s line %d: a line end other than CR LF' % (path, n))
    try:
        return [line.decode('utf-8') for line in lines]
    except UnicodeDecodeError:
        fault('%s: not UTF-8' % path)
        return [line.decode('utf-8', 'replace') for line in lines]


def only_file(folder, pattern, what):
    names = [n for n in os.listdir(folder) if re.fullmatch(pattern, n)] if os.path.isdir(folder) else []
    if len(names) != 1:
        fault('%s: %d files like %s in %s: %s' % (what, len(names), pattern, folder, names))
        return None
    return os.path.join(folder, names[0])


STAMP = r'\d{4}-\d\d-\d\d--\d\d-\d\d-\d\d'
LOG_NAME = r'Log (' + STAMP + r')\.log'
SECTIONS = ['[SYSTEM DETAILS]', '[GAME DETAILS]', '[CODE SUBSYSTEMS]', '[PATHS]',
            '[INITIAL SETTINGS]', '[AVAILABLE LANGUAGES]', '[STARTING GAME]']
OS_CODES = {'5', '10', '20', '30', '40', '50', '60', '65', '70', '75', '80', '85',
            '90', '95', '100', '105', '110', '200'}
# Values that belong to the machine or the platform, compared by their form.
MACHINE = {'CPU Name:', 'Free physical memory:', 'Total physical memory:',
           'Operating system:', 'GameDir:', 'UserDir:', 'SaveTo:', 'Directory:'}


def split(line):
    if '\t\t' in line:
        label, value = line.split('\t\t', 1)
        return label, value
    return line, None


def section_values(lines):
    """Label to value, the first of each label; "Language:" is the one of
    [INITIAL SETTINGS] (the language module's version has that label too)."""
    values, section = {}, ''
    for line in lines:
        if line.startswith('['):
            section = line
        label, value = split(line)
        if value is None:
            continue
        if label == 'Language:' and section != '[INITIAL SETTINGS]':
            continue
        values.setdefault(label, value)
    return values


def check_log_form(path, lines, expect):
    """The form every log of a start-up has; expect holds the paths."""
    name = os.path.basename(path)
    m = re.fullmatch(LOG_NAME, name)
    if not m:
        fault('log file name %r' % name)
    if lines[:1] != ['Duskmatch']:
        fault('%s: first line %r' % (name, lines[:1]))
    if len(lines) < 3 or not m or lines[1] != m.group(1) or lines[2] != '':
        fault('%s: second line %r is not the start stamp of the name' % (name, lines[1:2]))
    found = [line for line in lines if line.startswith('[')]
    if found[:len(SECTIONS)] != SECTIONS:
        fault('%s: sections %s' % (name, found))
    for i, line in enumerate(lines):
        if line.startswith('[') and i > 3 and lines[i - 1] != '':
            fault('%s: no empty line before %s' % (name, line))
        if i > 2 and line and not line.startswith('[') and '\t\t' not in line:
            fault('%s: line %d %r has no two tabs' % (name, i + 1, line))
        if '\t\t\t' in line:
            fault('%s: line %d %r has more than two tabs' % (name, i + 1, line))
    values = section_values(lines)
    if not values.get('CPU Name:', '').strip():
        fault('%s: no processor name' % name)
    for a, b in (('Available CPU cores:', 'Total CPU cores:'),
                 ('Free physical memory:', 'Total physical memory:')):
        va, vb = values.get(a, ''), values.get(b, '')
        if not (va.isdigit() and vb.isdigit() and 0 < int(va) <= int(vb)):
            fault('%s: %s %r and %s %r' % (name, a, va, b, vb))
    if values.get('Operating system:') not in OS_CODES:
        fault('%s: operating system %r' % (name, values.get('Operating system:')))
    for label in ('GameDir:', 'UserDir:', 'SaveTo:'):
        if label in expect and values.get(label) != expect[label]:
            fault('%s: %s %r, expected %r' % (name, label, values.get(label), expect[label]))
    if values.get('Directory:') != 'owlreach game studio\\Duskmatch':
        fault('%s: Directory %r' % (name, values.get('Directory:')))
    return values


def check_png(path, width, height):
    result = sample_colours(path)
    if result is None:
        fault('%s is no PNG file' % path)
        return
    w, h, colours = result
    if (w, h) != (width, height):
        fault('screenshot %dx%d, expected %dx%d' % (w, h, width, height))
        return
    if colours < 8:
        fault('the screenshot has only %d colours' % colours)


def language_text(code, key):
    path = os.path.join(source, 'data', 'languages', code + '.language')
    try:
        for line in open(path, encoding='utf-8-sig'):
            k, _, v = line.partition('=')
            if k.strip() == key:
                return v.strip()
    except OSError:
        pass
    return None


def rc(name):
    try:
        return open(os.path.join(work, name + '.rc')).read().strip()
    except OSError:
        return 'none'


user_win = env['APPDATA_WIN'] + '\\owlreach game studio\\Duskmatch\\'

# ---- the normal run ---------------------------------------------------
if rc('windows') != '0':
    fault('Windows run: exit code %s, expected 0' % rc('windows'))
wuser = os.path.join(work, 'windows-user')
wlog_path = only_file(wuser, LOG_NAME, 'Windows log')
wlines = read_lines(wlog_path, False) if wlog_path else []
wvalues = {}
if wlines:
    wvalues = check_log_form(wlog_path, wlines, {
        'GameDir:': env['PROG_WIN'] + '\\', 'UserDir:': user_win, 'SaveTo:': user_win})
    for need in ('Opening screen (Windowed):\t\tOK', 'Screenwidth:\t\t1280', 'Screenheight:\t\t720',
                 'Load asset (ogs.png):\t\tOK', 'Saving screenshot:\t\tOK'):
        if need not in wlines:
            fault('Windows log: no line %r' % need)
    bad = [line for line in wlines if line.endswith('\t\tFAILED')]
    if bad:
        fault('Windows log: failures %s' % bad)

if env.get('LINUX_USER'):
    if rc('linux') != '0':
        fault('Linux run: exit code %s, expected 0' % rc('linux'))
    llog_path = only_file(env['LINUX_USER'], LOG_NAME, 'Linux log')
    llines = read_lines(llog_path, False) if llog_path else []
    if llines and wlines:
        # Line for line: the same labels; the same values but for the
        # machine's own figures and the paths, which differ by platform.
        if len(llines) != len(wlines):
            fault('the Windows log has %d lines, the Linux log %d' % (len(wlines), len(llines)))
        for n, (w, l) in enumerate(zip(wlines, llines), 1):
            if n == 2:
                continue
            wl, wv = split(w)
            ll, lv = split(l)
            if wl != ll:
                fault('log line %d: %r on Windows, %r on Linux' % (n, w, l))
            elif ll not in MACHINE and wv != lv:
                fault('log line %d: %r on Windows, %r on Linux' % (n, w, l))
        lvalues = section_values(llines)
        wt, lt = wvalues.get('Total physical memory:', '0'), lvalues.get('Total physical memory:', '0')
        if wt.isdigit() and lt.isdigit() and abs(int(wt) - int(lt)) > int(lt) // 50:
            fault('total memory %s on Windows, %s on Linux' % (wt, lt))
    lprefs = os.path.join(env['LINUX_USER'], 'Duskmatch.prefs')
    wprefs = os.path.join(wuser, 'Duskmatch.prefs')
    if os.path.exists(lprefs) and os.path.exists(wprefs) and open(lprefs, 'rb').read() != open(wprefs, 'rb').read():
        fault('the settings files differ: %r on Windows, %r on Linux'
              % (open(wprefs, 'rb').read(), open(lprefs, 'rb').read()))

prefs = os.path.join(wuser, 'Duskmatch.prefs')
if not os.path.exists(prefs):
    fault('no Duskmatch.prefs in %s' % wuser)
else:
    plines = read_lines(prefs, True)
    language = wvalues.get('Language:', '?')
    expected = ['', '; Duskmatch 1.0 Preferences', '[Settings]', 'Language = ' + language,
                'Music = 1', 'GameScreen = 1', 'ScreenMode = 1280x720']
    if plines != expected:
        fault('settings file %r, expected %r' % (plines, expected))
    if language_text(language, 'tErrorASSET') is None:
        fault('the language %r of the log is no language file of the game' % language)
    if ('Load language (%s):\t\tOK' % language) not in wlines:
        fault('Windows log: the language %r was not loaded' % language)
shot = only_file(wuser, r'Duskmatch \d\d-\d\d-\d{4} \d\d-\d\d-\d\d\.png', 'screenshot')
if shot:
    check_png(shot, 1280, 720)

# ---- the fatal run ----------------------------------------------------
if rc('fatal') != '0':
    fault('fatal run: exit code %s, expected 0' % rc('fatal'))
notes = open(os.path.join(work, 'fatal.notes')).read().split('\n')
if 'waiting' not in notes:
    fault('the fatal run did not wait for its message box')
if not any(n.startswith('box Duskmatch::') for n in notes):
    fault('no message box titled "Duskmatch::..." appeared: %r' % notes)
if 'still running after the message box was answered' in notes:
    fault('the fatal run went on after its message box was answered')
fuser = env['WIN_USER']
flog_path = only_file(fuser, LOG_NAME, 'fatal-run log')
if os.path.exists(os.path.join(fuser, 'Duskmatch.prefs')):
    fault('the fatal run saved its settings')
if flog_path:
    flines = read_lines(flog_path, False)
    fvalues = check_log_form(flog_path, flines, {
        'GameDir:': env['FATAL_WIN'] + '\\', 'UserDir:': user_win, 'SaveTo:': user_win})
    waiting = os.path.join(work, 'fatal-while-waiting.log')
    wait_lines = read_lines(waiting, False) if os.path.exists(waiting) else []
    if wait_lines[-1:] != ['Load asset (ogs.png):\t\tFAILED']:
        fault('while the box waited the log ended in %r' % wait_lines[-1:])
    if flines != wait_lines:
        fault('the fatal run logged more after its message box: %r' % flines[len(wait_lines):])
    if not any(re.fullmatch(r'Opening screen \((Windowed|Borderless|Fullscreen)\):\t\tOK', l) for l in flines):
        fault('fatal run: the picture failed before the display was open')
    language = fvalues.get('Language:', '?')
    title = 'Duskmatch::' + (language_text(language, 'tErrorERROR') or '?')
    text = language_text(language, 'tErrorASSET') or '?'
    stderr = open(os.path.join(work, 'fatal-while-waiting.stderr'), encoding='utf-8', errors='replace').read()
    if title not in stderr or text not in stderr:
        fault('standard error while the box waited: %r (expected %r and %r)' % (stderr, title, text))
    if not any(n == 'box ' + title for n in notes):
        fault('message box %r, expected the title %r' % (notes, title))

if faults:
    print('%d faults' % len(faults))
    sys.exit(1)
print('Windows smoke test passed')
