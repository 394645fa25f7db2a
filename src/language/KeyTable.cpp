#include "KeyTable.h"

namespace pellwerk {

namespace {

KeyRow makeRow(int row, const char16_t *key, const char16_t *window, const char16_t *control, KeyTarget target,
               const char16_t *builtIn, std::optional<Colour> onlyWhen = std::nullopt)
{
    return KeyRow{row,
                  QString::fromUtf16(key),
                  QString::fromUtf16(window),
                  QString::fromUtf16(control),
                  target,
                  QString::fromUtf16(builtIn),
                  onlyWhen};
}

} // namespace

const KeyRow &languageNameRow()
{
    static const KeyRow row =
        makeRow(0, u"LANGUAGE=", u"SettingsDialog", u"languageLine", KeyTarget::Caption, u"deutsch");
    return row;
}

const std::vector<KeyRow> &languageKeyTable()
{
    using enum KeyTarget;
    static const std::vector<KeyRow> table{
        makeRow(1, u"file", u"MainWindow", u"fileMenu", Caption, u"Datei"),
        makeRow(2, u"new", u"MainWindow", u"newAction", Caption, u"neu"),
        makeRow(3, u"save", u"MainWindow", u"saveAction", Caption, u"speichern"),
        makeRow(4, u"open", u"MainWindow", u"openAction", Caption, u"öffnen"),
        makeRow(5, u"end", u"MainWindow", u"quitAction", Caption, u"beenden"),
        makeRow(6, u"setup", u"MainWindow", u"settingsMenu", Caption, u"Einstellungen"),
        makeRow(7, u"setup", u"MainWindow", u"settingsAction", Caption, u"Programm Einstellungen"),
        makeRow(8, u"velmora dir", u"MainWindow", u"skinFolderAction", Caption, u"Velmora Verzeichniss"),
        makeRow(9, u"about", u"MainWindow", u"aboutAction", Caption, u"über"),
        makeRow(10, u"part", u"MainWindow", u"partsButton", Caption, u"Teile"),
        makeRow(11, u"setup", u"SettingsDialog", u"", Title, u"Einstellungen"),
        makeRow(12, u"language", u"SettingsDialog", u"languageCaption", Caption, u"Sprache"),
        makeRow(13, u"directory", u"SettingsDialog", u"skinFolderButton", Caption, u"Verzeichniss"),
        makeRow(14, u"black", u"SettingsDialog", u"colourName", Caption, u"schwarz", Colours::Black),
        makeRow(15, u"white", u"SettingsDialog", u"colourName", Caption, u" weiss", Colours::White),
        makeRow(16, u"blue", u"SettingsDialog", u"colourName", Caption, u" blau", Colours::Blue),
        makeRow(17, u"part", u"PartsWindow", u"", Title, u"Teile"),
        makeRow(18, u"preview", u"PartsWindow", u"partPreview", ToolTip, u"preview"),
        makeRow(19, u"foot", u"PartsWindow", u"footList", ToolTip, u"Foot file"),
        makeRow(20, u"file", u"PartsWindow", u"faceList", ToolTip, u"face file"),
        makeRow(21, u"file", u"PartsWindow", u"rightArmList", ToolTip, u"right arm file"),
        makeRow(22, u"file", u"PartsWindow", u"pantsList", ToolTip, u"pants"),
        makeRow(23, u"file", u"PartsWindow", u"leftArmList", ToolTip, u"left arm file"),
        makeRow(24, u"file", u"PartsWindow", u"shirtList", ToolTip, u"shirt"),
        makeRow(25, u"file", u"PartsWindow", u"tattooList", ToolTip, u"Tatu"),
        makeRow(26, u"file", u"PartsWindow", u"glassesList", ToolTip, u"Brille"),
        makeRow(27, u"file", u"PartsWindow", u"chainList", ToolTip, u"Kette, Schmuck"),
        makeRow(28, u"file", u"PartsWindow", u"beardList", ToolTip, u"Bart"),
        makeRow(29, u"edit", u"MainWindow", u"editMenu", Caption, u"Bearbeiten"),
        makeRow(30, u"undo", u"MainWindow", u"undoAction", Caption, u"rückgängig"),
        makeRow(31, u"redo", u"MainWindow", u"redoAction", Caption, u"wiederholen"),
        makeRow(32, u"save recipe", u"MainWindow", u"saveRecipeAction", Caption, u"Rezept speichern…"),
        makeRow(33, u"open recipe", u"MainWindow", u"openRecipeAction", Caption, u"Rezept öffnen…"),
        makeRow(34, u"own parts", u"MainWindow", u"ownPartsAction", Caption, u"Eigene Teile"),
        // The steps window. Its row words and marks are no control's property: the window keeps
        // them for the rows it writes.
        makeRow(35, u"steps window", u"StepsWindow", u"", Title, u"Schritte"),
        makeRow(36, u"steps menu", u"MainWindow", u"stepsAction", Caption, u"Schritte"),
        makeRow(37, u"steps red", u"StepsWindow", u"redLabel", Caption, u"Rot"),
        makeRow(38, u"steps green", u"StepsWindow", u"greenLabel", Caption, u"Grün"),
        makeRow(39, u"steps blue", u"StepsWindow", u"blueLabel", Caption, u"Blau"),
        makeRow(40, u"steps visible", u"StepsWindow", u"visible", Caption, u"sichtbar"),
        makeRow(41, u"steps mirrored", u"StepsWindow", u"mirrored", Caption, u"gespiegelt"),
        makeRow(42, u"steps up", u"StepsWindow", u"moveUp", Caption, u"nach oben"),
        makeRow(43, u"steps down", u"StepsWindow", u"moveDown", Caption, u"nach unten"),
        makeRow(44, u"steps remove", u"StepsWindow", u"remove", Caption, u"entfernen"),
        makeRow(45, u"steps swap", u"StepsWindow", u"swapPart", Caption, u"Teil tauschen…"),
        makeRow(46, u"steps base", u"StepsWindow", u"baseWord", Caption, u"Grundlage: "),
        makeRow(47, u"steps default skin", u"StepsWindow", u"defaultSkinWord", Caption, u"Standard-Skin"),
        makeRow(48, u"mark hidden", u"StepsWindow", u"hiddenMark", Caption, u"ausgeblendet"),
        makeRow(49, u"mark mirror", u"StepsWindow", u"mirroredMark", Caption, u"gespiegelt"),
        makeRow(50, u"mark tinted", u"StepsWindow", u"tintedMark", Caption, u"getönt"),
        makeRow(51, u"mark near key", u"StepsWindow", u"nearKeyMark", Caption, u"nahe an der Transparenzfarbe"),
        // The steps window's colour-ramp dialog; "keine" is its first row's word.
        makeRow(52, u"steps ramp", u"StepsWindow", u"rampButton", Caption, u"Farbrampe…"),
        makeRow(53, u"ramp window", u"RampDialog", u"", Title, u"Farbrampe"),
        makeRow(54, u"ramp from", u"RampDialog", u"fromLabel", Caption, u"von"),
        makeRow(55, u"ramp to", u"RampDialog", u"toLabel", Caption, u"nach"),
        makeRow(56, u"ramp none", u"RampDialog", u"noneWord", Caption, u"keine"),
        makeRow(57, u"ramp cancel", u"RampDialog", u"cancelButton", Caption, u"Abbrechen"),
        // "export openraster" holds the key "open": its lines stand before "open"'s.
        makeRow(58, u"export openraster", u"MainWindow", u"exportOpenRasterAction", Caption,
                u"Als OpenRaster exportieren…"),
        makeRow(59, u"export png", u"MainWindow", u"exportPngAction", Caption, u"Als PNG exportieren…"),
        // The words of the edit menu's entries that name an edit of a step ("Tönung Hemd
        // shirt02.bmp"); "edit swap" names the part swap's file dialog too, "part" its filter.
        makeRow(60, u"edit tint", u"MainWindow", u"tintWord", Caption, u"Tönung"),
        makeRow(61, u"edit place", u"MainWindow", u"placeWord", Caption, u"Ort"),
        makeRow(62, u"edit hide", u"MainWindow", u"hideWord", Caption, u"ausblenden"),
        makeRow(63, u"edit show", u"MainWindow", u"showWord", Caption, u"einblenden"),
        makeRow(64, u"edit mirror", u"MainWindow", u"mirrorWord", Caption, u"spiegeln"),
        makeRow(65, u"edit unmirror", u"MainWindow", u"unmirrorWord", Caption, u"Spiegelung aufheben"),
        makeRow(66, u"edit up", u"MainWindow", u"upWord", Caption, u"nach oben"),
        makeRow(67, u"edit down", u"MainWindow", u"downWord", Caption, u"nach unten"),
        makeRow(68, u"edit remove", u"MainWindow", u"removeWord", Caption, u"entfernen"),
        makeRow(69, u"edit swap", u"MainWindow", u"swapWord", Caption, u"Teil tauschen"),
        makeRow(70, u"edit ramp", u"MainWindow", u"rampWord", Caption, u"Farbrampe"),
        makeRow(71, u"edit unramp", u"MainWindow", u"unrampWord", Caption, u"Farbrampe entfernen"),
        makeRow(72, u"edit swap", u"StepsWindow", u"swapTitleWord", Caption, u"Teil tauschen"),
        makeRow(73, u"part", u"StepsWindow", u"swapFilterWord", Caption, u"Teile"),
        // The tool-tips of the steps window and its colour-ramp dialog.
        makeRow(74, u"tip steps list", u"StepsWindow", u"steps", ToolTip,
                u"Oben der zuletzt gemalte Schritt, unten die Grundlage (Entf entfernt, Strg + Pfeil verschiebt, "
                u"Leertaste blendet aus und ein)"),
        makeRow(75, u"tip steps red", u"StepsWindow", u"red", ToolTip, u"Tönung: zu Rot addiert, höchstens 255"),
        makeRow(76, u"tip steps green", u"StepsWindow", u"green", ToolTip, u"Tönung: zu Grün addiert, höchstens 255"),
        makeRow(77, u"tip steps blue", u"StepsWindow", u"blue", ToolTip, u"Tönung: zu Blau addiert, höchstens 255"),
        makeRow(78, u"tip steps x", u"StepsWindow", u"x", ToolTip,
                u"Wohin die linke obere Ecke des Teils kommt (nur für Benutzer-Teile)"),
        makeRow(79, u"tip steps y", u"StepsWindow", u"y", ToolTip,
                u"Wohin die linke obere Ecke des Teils kommt (nur für Benutzer-Teile)"),
        makeRow(80, u"tip steps visible", u"StepsWindow", u"visible", ToolTip,
                u"Ein ausgeblendeter Schritt bleibt, malt aber nichts (Leertaste in der Liste)"),
        makeRow(81, u"tip steps mirrored", u"StepsWindow", u"mirrored", ToolTip,
                u"Das Teil von links nach rechts gespiegelt"),
        makeRow(82, u"tip steps up", u"StepsWindow", u"moveUp", ToolTip,
                u"Später malen, über den anderen (Strg + Pfeil nach oben)"),
        makeRow(83, u"tip steps down", u"StepsWindow", u"moveDown", ToolTip,
                u"Früher malen, unter den anderen (Strg + Pfeil nach unten)"),
        makeRow(84, u"tip steps remove", u"StepsWindow", u"remove", ToolTip, u"Den Schritt entfernen (Entf)"),
        makeRow(85, u"tip steps swap", u"StepsWindow", u"swapPart", ToolTip,
                u"Ein anderes Teil derselben Art an derselben Stelle"),
        makeRow(86, u"tip steps ramp", u"StepsWindow", u"rampButton", ToolTip,
                u"Die Farben einer Palette im Teil durch die einer anderen ersetzen"),
        makeRow(87, u"tip ramp from", u"RampDialog", u"fromList", ToolTip,
                u"Die Farben des Teils, die getauscht werden; „keine“ nimmt den Tausch weg"),
        makeRow(88, u"tip ramp to", u"RampDialog", u"toList", ToolTip,
                u"Die Farben, die an ihre Stelle kommen: die i-te Farbe für die i-te (gleich viele Farben)"),
        makeRow(89, u"tip ramp ok", u"RampDialog", u"okButton", ToolTip,
                u"Den Tausch übernehmen (ein Schritt zum Rückgängigmachen)"),
        makeRow(90, u"tip ramp cancel", u"RampDialog", u"cancelButton", ToolTip,
                u"Den Schritt lassen, wie er war (Esc)"),
        // How many colours a palette has, in its row's tool-tip: "(16 Farben)".
        makeRow(91, u"ramp colours", u"RampDialog", u"coloursWord", Caption, u"Farben"),
        // The zoom window and its entry in the view menu; the menu's own title stays "Ansicht" in
        // every language, as it always has. The spin boxes' names for a screen reader say more
        // than their labels, so they are rows of their own; the view's tool-tip and the "×" behind
        // the zoom stay as they are, like the canvas's tool-tip in the main window.
        makeRow(92, u"zoom menu", u"MainWindow", u"zoomAction", Caption, u"Lupe"),
        makeRow(93, u"zoom window", u"ZoomWindow", u"", Title, u"Lupe"),
        makeRow(94, u"zoom factor", u"ZoomWindow", u"ZoomLabel", Caption, u"Vergrößerung:"),
        makeRow(95, u"zoom grid", u"ZoomWindow", u"GridCheck", Caption, u"Gitter"),
        makeRow(96, u"zoom overlay", u"ZoomWindow", u"OverlayCheck", Caption, u"Überlagerung"),
        makeRow(97, u"zoom limit", u"ZoomWindow", u"NearLabel", Caption, u"Nähe (K):"),
        makeRow(98, u"zoom left out", u"ZoomWindow", u"LeftOutLabel", Caption, u"ausgelassen"),
        makeRow(99, u"zoom near key", u"ZoomWindow", u"NearKeyLabel", Caption, u"nahe an der Transparenzfarbe"),
        makeRow(100, u"zoom fringe", u"ZoomWindow", u"FringeLabel", Caption, u"Rand"),
        makeRow(101, u"name zoom factor", u"ZoomWindow", u"ZoomBox", AccessibleName, u"Vergrößerung"),
        makeRow(102, u"name zoom limit", u"ZoomWindow", u"NearBox", AccessibleName, u"Nähe zur Transparenzfarbe (K)"),
        makeRow(103, u"tip zoom factor", u"ZoomWindow", u"ZoomBox", ToolTip,
                u"Strg + Mausrad, Strg + Plus, Strg + Minus"),
        makeRow(104, u"tip zoom grid", u"ZoomWindow", u"GridCheck", ToolTip,
                u"Gitter zwischen den Pixeln ab 6× (Taste G)"),
        makeRow(105, u"tip zoom overlay", u"ZoomWindow", u"OverlayCheck", ToolTip,
                u"Wohin das Teil der Vorschau kommt und was von ihm ausgelassen wird (Taste O)"),
        makeRow(106, u"tip zoom limit", u"ZoomWindow", u"NearBox", ToolTip,
                u"Pixel, deren Kanäle alle höchstens so weit von der Transparenzfarbe entfernt sind, gelten als nahe"),
        // The counts under the view: %1 left out, %2 near the key (%3 of them at the fringe).
        makeRow(107, u"zoom counts", u"ZoomWindow", u"countsWords", Caption,
                u"%1 ausgelassen, %2 nahe an der Transparenzfarbe, davon %3 Rand"),
    };
    return table;
}

} // namespace pellwerk
