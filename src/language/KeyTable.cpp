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
    static const KeyRow row = makeRow(0, u"LANGUAGE=", u"SetupDlg", u"Label7", KeyTarget::Caption, u"deutsch");
    return row;
}

const std::vector<KeyRow> &languageKeyTable()
{
    using enum KeyTarget;
    static const std::vector<KeyRow> table{
        makeRow(1, u"file", u"Form1", u"Datei", Caption, u"Datei"),
        makeRow(2, u"new", u"Form1", u"dneu", Caption, u"neu"),
        makeRow(3, u"save", u"Form1", u"speichern", Caption, u"speichern"),
        makeRow(4, u"open", u"Form1", u"dopen", Caption, u"öffnen"),
        makeRow(5, u"end", u"Form1", u"MEnde", Caption, u"beenden"),
        makeRow(6, u"setup", u"Form1", u"MSetup", Caption, u"Einstellungen"),
        makeRow(7, u"setup", u"Form1", u"PrgSetup", Caption, u"Programm Einstellungen"),
        makeRow(8, u"velmora dir", u"Form1", u"MFolder", Caption, u"Velmora Verzeichniss"),
        makeRow(9, u"about", u"Form1", u"Mueber", Caption, u"über"),
        makeRow(10, u"part", u"Form1", u"Command1", Caption, u"Teile"),
        makeRow(11, u"setup", u"SetupDlg", u"", Title, u"Einstellungen"),
        makeRow(12, u"language", u"SetupDlg", u"Label1", Caption, u"Sprache"),
        makeRow(13, u"directory", u"SetupDlg", u"Command1", Caption, u"Verzeichniss"),
        makeRow(14, u"black", u"SetupDlg", u"Label6", Caption, u"schwarz", Colours::Black),
        makeRow(15, u"white", u"SetupDlg", u"Label6", Caption, u" weiss", Colours::White),
        makeRow(16, u"blue", u"SetupDlg", u"Label6", Caption, u" blau", Colours::Blue),
        makeRow(17, u"part", u"TeileFrm", u"", Title, u"Teile"),
        makeRow(18, u"preview", u"TeileFrm", u"TeilPic", ToolTip, u"preview"),
        makeRow(19, u"foot", u"TeileFrm", u"FootFile", ToolTip, u"Foot file"),
        makeRow(20, u"file", u"TeileFrm", u"FaceFile", ToolTip, u"face file"),
        makeRow(21, u"file", u"TeileFrm", u"RightArmFile", ToolTip, u"right arm file"),
        makeRow(22, u"file", u"TeileFrm", u"PantsFile", ToolTip, u"pants"),
        makeRow(23, u"file", u"TeileFrm", u"LeftArmFile", ToolTip, u"left arm file"),
        makeRow(24, u"file", u"TeileFrm", u"ShirtFile", ToolTip, u"shirt"),
        makeRow(25, u"file", u"TeileFrm", u"TatuFile", ToolTip, u"Tatu"),
        makeRow(26, u"file", u"TeileFrm", u"GlassesFile", ToolTip, u"Brille"),
        makeRow(27, u"file", u"TeileFrm", u"SchmuckFile", ToolTip, u"Kette, Schmuck"),
        makeRow(28, u"file", u"TeileFrm", u"BartFile", ToolTip, u"Bart"),
        makeRow(29, u"edit", u"Form1", u"Bearbeiten", Caption, u"Bearbeiten"),
        makeRow(30, u"undo", u"Form1", u"MUndo", Caption, u"rückgängig"),
        makeRow(31, u"redo", u"Form1", u"MRedo", Caption, u"wiederholen"),
        makeRow(32, u"save recipe", u"Form1", u"RezeptSpeichern", Caption, u"Rezept speichern…"),
        makeRow(33, u"open recipe", u"Form1", u"RezeptOeffnen", Caption, u"Rezept öffnen…"),
        makeRow(34, u"own parts", u"Form1", u"MEigeneTeile", Caption, u"Eigene Teile"),
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
    };
    return table;
}

} // namespace pellwerk
