"""Walks the running editor's accessibility tree as a screen reader sees it over AT-SPI.

Expects the editor running on $DISPLAY with the AT-SPI registry on $DBUS_SESSION_BUS_ADDRESS
(tests/accessibility/run-check sets both up). Opens every window, then checks that every control
has a role and a name, that every label is announced with the text it shows and follows its
changes, that the designed tool-tips are the descriptions, and that the knobs report their value.
Prints one line per fault and exits 1 when there is any.
"""
import os
import re
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

SKIN_FOLDER = os.path.join(os.environ['HOME'], 'Velmora', 'skins', '')
CANVAS = 'Skin-Zeichenfläche'
HOVER = [(40, 30), (200, 117)]


def position(x, y):
    return ' x=%d,  y=%d ' % (x, y)


# Every window: its title, the control that opens it, the texts its labels show (a label that
# shows no text, like a colour field, is listed by its name) and its designed tool-tips.
WINDOWS = [
    dict(title='Pellwerk V1.2', opener=None, labels=[position(*HOVER[-1])],
         tips={CANVAS: 'click -> Koordinaten werden ins  User-Teile  eingetragen',
               'Teile': 'Teile-Fenster öffnen'}),
    dict(title='Teile', opener=('push button', 'Teile'), labels=['transparent'],
         tips={'Teil-Vorschau': 'preview', 'Füße': 'Foot file', 'Linker Arm': 'left arm file',
               'Rechter Arm': 'right arm file', 'Gesicht': 'face file', 'Hose': 'pants',
               'Hemd': 'shirt', 'Brille': 'Brille', 'Kette, Schmuck': 'Kette, Schmuck',
               'Bart': 'Bart', 'Tattoo': 'Tatu', 'Benutzer-Dateien': 'Benutzer Dateien',
               'transparent': 'Transparenz - Farbe',
               'X-Koordinate für Benutzer-Teile': 'X - Koordinate',
               'Y-Koordinate für Benutzer-Teile': 'Y - Koordinate',
               'Dateiname-Präfix der Benutzer-Dateien': 'Dateiname-Prefix',
               'auto': 'automatisch', 'copy': 'Teil kopieren wenn AUTOmathik aus',
               'RGB': 'RGB - Korektur'}),
    dict(title=r'\s*RGB \(0, 0, 0\)', opener=('push button', 'RGB'), labels=['R ', 'G', 'B '],
         tips={'Rot': 'Rot-Aufschlag für die Teil-Vorschau',
               'Grün': 'Grün-Aufschlag für die Teil-Vorschau',
               'Blau': 'Blau-Aufschlag für die Teil-Vorschau'}),
    dict(title='Einstellungen', opener=('menu item', 'Programm Einstellungen'),
         labels=['Sprache', 'Velmora Skins', SKIN_FOLDER, 'transparent',
                 'Farbfeld der transparenten Farbe', 'schwarz', 'deutsch'],
         tips={'Sprachdateien': 'Language List', 'transparent': 'Transparenz beim Transport',
               'color': 'Transparent-Farbe',
               'Farbfeld der transparenten Farbe': 'schwarz ist transparent beim Transport'}),
    dict(title='Über', opener=('menu item', 'über'),
         labels=['Pellwerk V1.2', 'BY', 'Das Pellwerk-Projekt', 'Kontakt: das Pellwerk-Projekt',
                 'Mit Dank an alle Mitwirkenden'], tips={}),
]
# Parts of a window that hold controls but are not announced as controls themselves.
CONTAINERS = {'filler', 'menu bar', 'popup menu'}
# A combo box is one control; its edit field and drop-down list are announced through it.
NOT_ENTERED = {'combo box'}
faults = []


def fault(window, node, what):
    faults.append('FAIL %s > %s %r: %s' % (window, node.getRoleName(), node.name, what))


def wait_for(predicate, seconds=10):
    """Lets AT-SPI events arrive until predicate() holds; the last result of predicate()."""
    context, deadline = GLib.MainContext.default(), time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        result = predicate()
        if result or time.monotonic() > deadline:
            return result
        time.sleep(0.05)


def find(node, role, name):
    for child in node:
        if child is None:
            continue
        if child.getRoleName() == role and child.name == name:
            return child
        hit = find(child, role, name)
        if hit:
            return hit
    return None


def window(app, title):
    return next((w for w in app if w is not None and re.fullmatch(title, w.name)), None)


def controls(node, name, found):
    """Every visible control below node; faults for a missing role or name."""
    for child in node:
        if child is None:
            continue
        role, states = child.getRoleName(), child.getState()
        if not states.contains(pyatspi.STATE_VISIBLE) and role != 'menu item' and role not in CONTAINERS:
            continue
        if role not in CONTAINERS:
            found.append(child)
            if child.getRole() in (pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN):
                fault(name, child, 'has no role')
            if not child.name.strip():
                fault(name, child, 'has no name')
        if role not in NOT_ENTERED:
            controls(child, name, found)
    return found


def check_window(spec, node):
    found = controls(node, node.name, [])
    shown = list(spec['labels'])
    for label in (c for c in found if c.getRoleName() == 'label'):
        if label.name in shown:
            shown.remove(label.name)
        else:
            fault(node.name, label, 'announced instead of the text it shows (one of %r)' % shown)
    by_name = {c.name: c for c in found}
    for name, tip in spec['tips'].items():
        control = by_name.get(name)
        if control is None:
            faults.append('FAIL %s: no control named %r to carry the tool-tip %r' % (node.name, name, tip))
        elif control.description != tip:
            fault(node.name, control, 'description %r is not its tool-tip %r' % (control.description, tip))
    for knob in (c for c in found if c.getRoleName() in ('dial', 'slider')):
        try:
            value = knob.queryValue()
        except NotImplementedError:
            fault(node.name, knob, 'reports no value')
            continue
        if (value.minimumValue, value.maximumValue) != (0, 255) or not 0 <= value.currentValue <= 255:
            fault(node.name, knob, 'value %g in %g..%g, not in 0..255'
                  % (value.currentValue, value.minimumValue, value.maximumValue))
    print('%-16s %3d controls' % (node.name.strip(), len(found)))


def check_hover(main):
    """The status label follows the pointer over the canvas, and says so to the screen reader."""
    canvas = find(main, 'frame', CANVAS)
    labels = [c for c in controls(main, main.name, []) if c.getRoleName() == 'label']
    if canvas is None or len(labels) != 1:
        faults.append('FAIL %s: no canvas %r or not one status label' % (main.name, CANVAS))
        return
    status, announced = labels[0], []
    listener = Atspi.EventListener.new(lambda event: announced.append(event.any_data))
    listener.register('object:property-change:accessible-name')
    box = canvas.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    frame = (box.width - 256) // 2
    for x, y in HOVER:
        Atspi.generate_mouse_event(box.x + frame + x, box.y + frame + y, 'abs')
        if not wait_for(lambda: status.name == position(x, y)):
            fault(main.name, status, 'does not follow the pointer over the canvas: %r expected'
                  % position(x, y))
        elif not wait_for(lambda: position(x, y) in announced, 2):
            fault(main.name, status, 'changed to %r without telling the screen reader' % position(x, y))
    listener.deregister('object:property-change:accessible-name')


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == 'Pellwerk'), None), 30)
    if app is None:
        sys.exit('FAIL the editor did not appear in the accessibility tree within 30 s')
    for spec in WINDOWS:
        if spec['opener']:
            opener = find(app, *spec['opener'])
            if opener is None:
                faults.append('FAIL no %s %r to open %r' % (*spec['opener'], spec['title']))
                continue
            opener.queryAction().doAction(0)
        node = wait_for(lambda: window(app, spec['title']))
        if node is None:
            faults.append('FAIL window %r did not open' % spec['title'])
            continue
        if spec['opener'] is None:
            check_hover(node)
        check_window(spec, node)
    print('\n'.join(faults))
    print('accessibility check: %d windows, %d faults' % (len(WINDOWS), len(faults)))
    sys.exit(1 if faults else 0)


if __name__ == '__main__':
    main()
