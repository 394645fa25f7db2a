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
    };
    return table;
}

} // namespace pellwerk
