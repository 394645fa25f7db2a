# Walks the running editor's accessibility tree as a screen reader sees it over AT-SPI.
#
# Expects the editor running on $DISPLAY with the AT-SPI registry on $DBUS_SESSION_BUS_ADDRESS
# (tests/accessibility/run-check sets both up). Opens every window, then checks that every control
# has a role and a name, that every label is announced with the text it shows and follows its
# changes, that the designed tool-tips are the descriptions, and that the knobs report their value.
# Prints one line per fault and exits 1 when there is any.
import os
import re
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

CANVAS = 'Skin-Zeichenfläche'
HOVER = [(40, 30), (200, 117)]
position = ' x=%d,  y=%d '.__mod__
NAME_CHANGE = 'object:property-change:accessible-name'

# Every window: its title (a pattern), the role and name of the control that opens it, the texts
# its labels show (a label that shows no text, like a colour field, is listed by its name) and its
# designed tool-tips by control name.
WINDOWS = [
    ('Pellwerk V1.2', None, [position(HOVER[-1])],
     {CANVAS: 'click -> Koordinaten werden ins  User-Teile  eingetragen', 'Teile': 'Teile-Fenster öffnen'}),
    ('Teile', ('push button', 'Teile'), ['transparent'],
     {'Teil-Vorschau': 'preview', 'Füße': 'Foot file', 'Linker Arm': 'left arm file', 'Hemd': 'shirt',
      'Rechter Arm': 'right arm file', 'Gesicht': 'face file', 'Hose': 'pants', 'Brille': 'Brille',
      'Kette, Schmuck': 'Kette, Schmuck', 'Bart': 'Bart', 'Tattoo': 'Tatu', 'Benutzer-Dateien': 'Benutzer Dateien',
      'transparent': 'Transparenz - Farbe', 'X-Koordinate für Benutzer-Teile': 'X - Koordinate',
      'Y-Koordinate für Benutzer-Teile': 'Y - Koordinate', 'Dateiname-Präfix der Benutzer-Dateien': 'Dateiname-Prefix',
      'auto': 'automatisch', 'copy': 'Teil kopieren wenn AUTOmathik aus', 'RGB': 'RGB - Korektur'}),
    (r'\s*RGB \(0, 0, 0\)', ('push button', 'RGB'), ['R ', 'G', 'B '], {}),
    ('Einstellungen', ('menu item', 'Programm Einstellungen'),
     ['Sprache', 'Velmora Skins', os.path.join(os.environ['HOME'], 'Velmora', 'skins', ''), 'transparent',
      'Farbfeld der transparenten Farbe', 'schwarz', 'deutsch'],
     {'Sprachdateien': 'Language List', 'transparent': 'Transparenz beim Transport',
      'color': 'Transparent-Farbe',  # the combo box, known by its edit text
      'Farbfeld der transparenten Farbe': 'schwarz ist transparent beim Transport'}),
    ('Lupe', ('menu item', 'Lupe'),
     ['Vergrößerung:', 'Nähe (K):', 'ausgelassen', 'nahe an der Transparenzfarbe', 'Rand',
      '631 ausgelassen, 0 nahe an der Transparenzfarbe, davon 0 Rand'],
     {'Vergrößerung': 'Strg + Mausrad, Strg + Plus, Strg + Minus',
      'Gitter': 'Gitter zwischen den Pixeln ab 6× (Taste G)',
      'Überlagerung': 'Wohin das Teil der Vorschau kommt und was von ihm ausgelassen wird (Taste O)',
      'Nähe zur Transparenzfarbe (K)':
          'Pixel, deren Kanäle alle höchstens so weit von der Transparenzfarbe entfernt sind, gelten als nahe',
      'Vergrößerte Skin-Ansicht': 'click -> Koordinaten werden ins  User-Teile  eingetragen'}),
    ('Schritte', ('menu item', 'Schritte'), ['Rot', 'Grün', 'Blau', 'X', 'Y'],
     {'Schritte': 'Oben der zuletzt gemalte Schritt, unten die Grundlage (Entf entfernt, Strg + Pfeil verschiebt, '
                  'Leertaste blendet aus und ein)',
      'sichtbar': 'Ein ausgeblendeter Schritt bleibt, malt aber nichts (Leertaste in der Liste)',
      'gespiegelt': 'Das Teil von links nach rechts gespiegelt',
      'nach oben': 'Später malen, über den anderen (Strg + Pfeil nach oben)',
      'nach unten': 'Früher malen, unter den anderen (Strg + Pfeil nach unten)',
      'entfernen': 'Den Schritt entfernen (Entf)',
      'Teil tauschen…': 'Ein anderes Teil derselben Art an derselben Stelle',
      'Farbrampe…': 'Die Farben einer Palette im Teil durch die einer anderen ersetzen'}),
    ('Farbrampe', ('push button', 'Farbrampe…'), ['von', 'nach'],
     {'von': 'Die Farben des Teils, die getauscht werden; „keine“ nimmt den Tausch weg',
      'nach': 'Die Farben, die an ihre Stelle kommen: die i-te Farbe für die i-te (gleich viele Farben)',
      'OK': 'Den Tausch übernehmen (ein Schritt zum Rückgängigmachen)',
      'Abbrechen': 'Den Schritt lassen, wie er war (Esc)'}),
    ('Über', ('menu item', 'über'),
     ['Pellwerk V1.2', 'BY', 'Das Pellwerk-Projekt', 'Kontakt: das Pellwerk-Projekt', 'Mit Dank an alle Mitwirkenden'],
     {}),
]
# Controls pressed before a window is opened, for what it needs: the steps window's buttons act on
# a step, so the parts window pastes its preview first ("auto" off enables "copy").
BEFORE = {'Schritte': [('check box', 'auto'), ('push button', 'copy')]}
# Parts of a window that hold controls but are not announced as controls themselves.
CONTAINERS = {'filler', 'menu bar', 'popup menu'}
# A combo box is one control; its edit field and drop-down list are announced through it.
NOT_ENTERED = {'combo box'}
faults = []


# Records a fault of node in window (or of the window alone); a control without a name is known by
# its description.
def fault(window, node, what):
    if node is None:
        faults.append('FAIL %s: %s' % (window, what))
        return
    known_by = repr(node.name) if node.name or not node.description else 'described %r' % node.description
    faults.append('FAIL %s > %s %s: %s' % (window, node.getRoleName(), known_by, what))


# Lets AT-SPI events arrive until predicate() holds; the last result of predicate().
def wait_for(predicate, seconds=10):
    context, deadline = GLib.MainContext.default(), time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        result = predicate()
        if result or time.monotonic() > deadline:
            return result
        time.sleep(0.05)


def descendants(node):
    for child in (c for c in node if c is not None):
        yield child
        yield from descendants(child)


# Every control below node a user meets (menu items also while their menu is closed).
def controls(node, window, found):
    for child in (c for c in node if c is not None):
        role = child.getRoleName()
        if role not in CONTAINERS | {'menu item'} and not child.getState().contains(pyatspi.STATE_VISIBLE):
            continue
        if role not in CONTAINERS:
            found.append(child)
            if child.getRole() in (pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN):
                fault(window, child, 'has no role')
            if not child.name.strip():
                fault(window, child, 'has no name')
        if role not in NOT_ENTERED:
            controls(child, window, found)
    return found


# The status label follows the pointer over the canvas and tells the screen reader so.
def check_hover(window, found):
    canvas = next((c for c in found if c.name == CANVAS), None)
    labels = [c for c in found if c.getRoleName() == 'label']
    if canvas is None or len(labels) != 1:
        return fault(window, None, 'no canvas %r or not one status label' % CANVAS)
    status, announced = labels[0], []
    listener = Atspi.EventListener.new(lambda event: announced.append(event.source))
    listener.register(NAME_CHANGE)
    box = canvas.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    frame = (box.width - 256) // 2
    for x, y in HOVER:
        announced.clear()
        Atspi.generate_mouse_event(box.x + frame + x, box.y + frame + y, 'abs')
        if not wait_for(lambda: status.name == position((x, y))):
            fault(window, status, 'does not follow the pointer over the canvas: %r expected' % position((x, y)))
        elif not wait_for(lambda: status in announced, 2):
            fault(window, status, 'changed to %r without telling the screen reader' % position((x, y)))
    listener.deregister(NAME_CHANGE)


def check_window(window, found, labels, tips):
    shown, wrong = list(labels), []
    for label in (c for c in found if c.getRoleName() == 'label'):
        if label.name in shown:
            shown.remove(label.name)
        else:
            wrong.append(label)
    for label in wrong:
        fault(window, label, 'announced instead of the text it shows (%s)' % ' or '.join(map(repr, shown)))
    if shown and not wrong:
        fault(window, None, 'no label announces %s' % ' or '.join(map(repr, shown)))
    by_name = {c.name: c for c in found}
    for name, tip in tips.items():
        if name not in by_name:
            fault(window, None, 'no control %r carries the tool-tip %r' % (name, tip))
        elif by_name[name].description != tip:
            fault(window, by_name[name], 'description %r is not its tool-tip %r' % (by_name[name].description, tip))
    for knob in (c for c in found if c.getRoleName() in ('dial', 'slider')):
        try:
            value = knob.queryValue()
        except NotImplementedError:
            fault(window, knob, 'reports no value')
            continue
        if (value.minimumValue, value.maximumValue) != (0, 255) or not 0 <= value.currentValue <= 255:
            fault(window, knob, 'value %g in %g..%g, not in 0..255'
                  % (value.currentValue, value.minimumValue, value.maximumValue))
    print('%-16s %3d controls' % (window, len(found)))


# A control may go while it is walked (a list's rows are made anew when the list is filled again):
# the walk then starts again on the tree as it is, at most three times, keeping only the faults of
# the last walk.
def walk(window, name, main_window, labels, tips):
    for attempt in range(3):
        first_fault = len(faults)
        try:
            found = controls(window, name, [])
            if main_window:
                check_hover(name, found)
            check_window(name, found, labels, tips)
            return
        except GLib.GError as error:
            if 'No such object' not in str(error) or attempt == 2:
                raise
            del faults[first_fault:]
            print('%-16s walked again: %s' % (name, error.message))
            wait_for(lambda: False, 1)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == 'Pellwerk'), None), 30)
    if app is None:
        sys.exit('FAIL the editor did not appear in the accessibility tree within 30 s')
    # Only an enabled control acts (a menu's entries also while the menu is closed; a window's
    # controls once it shows); a click by its action lands a moment later, and what it enables
    # only then.
    def usable(role_name):
        needed = [pyatspi.STATE_ENABLED] + ([] if role_name[0] == 'menu item' else [pyatspi.STATE_SHOWING])
        def has(control):
            control.clear_cache()  # the enabled state comes without an event to refresh it
            return all(control.getState().contains(state) for state in needed)
        return wait_for(lambda: next((c for c in descendants(app) if (c.getRoleName(), c.name) == role_name
                                      and has(c)), None))

    for title, opener, labels, tips in WINDOWS:
        for role_name in BEFORE.get(title, []):
            control = usable(role_name)
            if control is None:
                fault('no %s %r' % role_name, None, 'cannot prepare %r' % title)
            else:
                control.queryAction().doAction(0)
        if opener:
            control = usable(opener)
            if control is None:
                fault('no %s %r' % opener, None, 'nothing opens %r' % title)
                continue
            control.queryAction().doAction(0)
        window = wait_for(lambda: next((w for w in app if w and re.fullmatch(title, w.name)), None))
        if window is None:
            fault(title, None, 'window did not open')
            continue
        walk(window, window.name.strip(), opener is None, labels, tips)
    print('\n'.join(faults + ['accessibility check: %d windows, %d faults' % (len(WINDOWS), len(faults))]))
    sys.exit(1 if faults else 0)


if __name__ == '__main__':
    main()
