<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>CChildFrame</name>
    <message>
        <source>Cannot reload %1:
%2.</source>
        <translation>Det går inte att läsa in %1 igen:
%2.</translation>
    </message>
</context>
<context>
    <name>CFileChangedBar</name>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Läs in igen</translation>
    </message>
    <message>
        <source>&amp;Keep This Version</source>
        <translation>&amp;Behåll den här versionen</translation>
    </message>
    <message>
        <source>%1 has been changed by another program. Reloading it discards your changes.</source>
        <translation>%1 har ändrats av ett annat program. Om du läser in den igen försvinner dina ändringar.</translation>
    </message>
    <message>
        <source>%1 has been changed by another program.</source>
        <translation>%1 har ändrats av ett annat program.</translation>
    </message>
</context>
<context>
    <name>CLockIndicators</name>
    <message>
        <source>This desktop does not tell the state of the lock keys.</source>
        <translation>Skrivbordsmiljön visar inte lås-tangenternas läge.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>Det gick inte att läsa filen %1:
%2.</translation>
    </message>
    <message>
        <source>%1 was not found. It is removed from the list of recent files.</source>
        <translation>%1 hittades inte. Den tas bort ur listan över senast använda filer.</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;.</source>
        <translation>Det gick inte att hitta &quot;%1&quot;.</translation>
    </message>
    <message numerus="yes">
        <source>%n occurrence(s) replaced.</source>
        <comment>Replace All</comment>
        <translation>
            <numerusform>%n förekomst ersattes.</numerusform>
            <numerusform>%n förekomster ersattes.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 - [%2]</source>
        <comment>main window title: the program, then the song</comment>
        <translation>%1 - [%2]</translation>
    </message>
    <message>
        <source>No printer is ready to print %1.</source>
        <translation>Ingen skrivare är redo att skriva ut %1.</translation>
    </message>
</context>
<context>
    <name>CMainToolBar</name>
    <message>
        <source>Toolbar</source>
        <translation>Verktygsfält</translation>
    </message>
</context>
<context>
    <name>CSonavelApp</name>
    <message>
        <source>Ignored on the command line: %1</source>
        <translation>Ignoreras på kommandoraden: %1</translation>
    </message>
</context>
<context>
    <name>CSonavelDoc</name>
    <message>
        <source>Chord%1</source>
        <comment>the name of a new song; %1 counts from 1</comment>
        <translation>Ackord%1</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>Det gick inte att skriva filen %1:
%2.</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Spara som</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Vill du spara ändringarna i %1?</translation>
    </message>
    <message>
        <source>The file is too large to open (%1; Sonavel opens files of up to %2)</source>
        <translation>Filen är för stor för att öppnas (%1; Sonavel öppnar filer på högst %2)</translation>
    </message>
    <message>
        <source>There is not enough memory to open it</source>
        <translation>Det finns inte tillräckligt med minne för att öppna den</translation>
    </message>
    <message>
        <source>NUL bytes (%1), with the rest of their lines</source>
        <translation>NUL-byte (%1), med resten av sina rader</translation>
    </message>
    <message>
        <source>damaged characters (%1)</source>
        <translation>skadade tecken (%1)</translation>
    </message>
    <message>
        <source> and </source>
        <comment>joins the kinds of bytes a file loses</comment>
        <translation> och </translation>
    </message>
    <message>
        <source>%1 holds bytes that cannot be kept: %2.
Replace it with the text as shown, without them?</source>
        <translation>%1 innehåller byte som inte kan behållas: %2.
Vill du ersätta den med texten som den visas, utan dem?</translation>
    </message>
    <message>
        <source>The file is read-only, or you may not write to it</source>
        <translation>Filen är skrivskyddad, eller så får du inte skriva till den</translation>
    </message>
    <message>
        <source>Another program has changed the file since it was opened</source>
        <translation>Ett annat program har ändrat filen sedan den öppnades</translation>
    </message>
    <message>
        <source>%1 has been changed by another program since it was opened. Save anyway and replace those changes?</source>
        <translation>%1 har ändrats av ett annat program sedan den öppnades. Vill du spara ändå och ersätta de ändringarna?</translation>
    </message>
</context>
<context>
    <name>CSonavelView</name>
    <message>
        <source>%1 holds bytes that cannot be kept: %2.
Saving replaces the file with the text as shown, without them.</source>
        <translation>%1 innehåller byte som inte kan behållas: %2.
Om du sparar ersätts filen med texten som den visas, utan dem.</translation>
    </message>
</context>
<context>
    <name>CommandPrompts</name>
    <message>
        <source>Open this document</source>
        <translation>Öppna det här dokumentet</translation>
    </message>
    <message>
        <source>Activate this window</source>
        <translation>Aktivera det här fönstret</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Skapa ett nytt dokument</translation>
    </message>
    <message>
        <source>Open an existing document</source>
        <translation>Öppna ett befintligt dokument</translation>
    </message>
    <message>
        <source>Close the active document</source>
        <translation>Stäng det aktiva dokumentet</translation>
    </message>
    <message>
        <source>Save the active document</source>
        <translation>Spara det aktiva dokumentet</translation>
    </message>
    <message>
        <source>Save the active document with a new name</source>
        <translation>Spara det aktiva dokumentet med ett nytt namn</translation>
    </message>
    <message>
        <source>Print the active document</source>
        <translation>Skriv ut det aktiva dokumentet</translation>
    </message>
    <message>
        <source>Print the active document using current options</source>
        <translation>Skriv ut det aktiva dokumentet med de aktuella alternativen</translation>
    </message>
    <message>
        <source>Display full pages</source>
        <translation>Visa hela sidor</translation>
    </message>
    <message>
        <source>Change the printer and printing options</source>
        <translation>Ändra skrivare och utskriftsalternativ</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Avsluta programmet; frågar om dokumenten ska sparas</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Ångra den senaste åtgärden</translation>
    </message>
    <message>
        <source>Redo the previously undone action</source>
        <translation>Gör om det som senast ångrades</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>Klipp ut markeringen och lägg den i Urklipp</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>Kopiera markeringen och lägg den i Urklipp</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>Infoga innehållet i Urklipp</translation>
    </message>
    <message>
        <source>Select the entire document</source>
        <translation>Markera hela dokumentet</translation>
    </message>
    <message>
        <source>Find the specified text</source>
        <translation>Sök efter den angivna texten</translation>
    </message>
    <message>
        <source>Find the next occurrence of the specified text</source>
        <translation>Sök efter nästa förekomst av den angivna texten</translation>
    </message>
    <message>
        <source>Replace specific text with different text</source>
        <translation>Ersätt en viss text med en annan text</translation>
    </message>
    <message>
        <source>Word wrap</source>
        <translation>Radbryt dokumentet</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Visa eller dölj verktygsfältet</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Visa eller dölj statusfältet</translation>
    </message>
    <message>
        <source>Colorize chords and tablatures</source>
        <translation>Färga ackord och tabulaturer</translation>
    </message>
    <message>
        <source>Make selected text black</source>
        <translation>Avfärga ackord och tabulaturer</translation>
    </message>
    <message>
        <source>If chords are written in brackets (like &quot;[Am]&quot;) you could activate this to do better colorizing.</source>
        <translation>Markera detta om ackord står i klamrar (t ex &quot;[Am]&quot;) för att förenkla färgningen.</translation>
    </message>
    <message>
        <source>Show transpose settings and transpose</source>
        <translation>Visa transponeringsinställningar och transponera</translation>
    </message>
    <message>
        <source>Transpose again with latest settings</source>
        <translation>Transponera igen med samma inställningar som tidigare</translation>
    </message>
    <message>
        <source>Allows transposing of chords</source>
        <translation>Transponera ackord</translation>
    </message>
    <message>
        <source>Allows transposing of tablatures</source>
        <translation>Transponera tabulaturer</translation>
    </message>
    <message>
        <source>Play a simple MIDI file for tuning guitars</source>
        <translation>Spela en enkel MIDI-fil för att stämma gitarren</translation>
    </message>
    <message>
        <source>Find next chord and select it</source>
        <translation>Leta upp och markera nästa ackord</translation>
    </message>
    <message>
        <source>View settings</source>
        <translation>Visa inställningar</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap</source>
        <translation>Ordna fönstren så att de överlappar varandra</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles</source>
        <translation>Ordna fönstren sida vid sida utan att de överlappar</translation>
    </message>
    <message>
        <source>Arrange icons at the bottom of the window</source>
        <translation>Ordna ikonerna längst ned i fönstret</translation>
    </message>
    <message>
        <source>Switch to the next document window</source>
        <translation>Växla till nästa dokumentfönster</translation>
    </message>
    <message>
        <source>Switch to the previous document window</source>
        <translation>Växla till föregående dokumentfönster</translation>
    </message>
    <message>
        <source>Open ReadMe file</source>
        <translation>Öppna ReadMe-filen</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Visa programinformation, versionsnummer och copyright</translation>
    </message>
</context>
<context>
    <name>CommandTips</name>
    <message>
        <source>New</source>
        <translation>Nytt</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Stäng</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Spara</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Spara som</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Skriv ut</translation>
    </message>
    <message>
        <source>Quick Print</source>
        <translation>Snabbutskrift</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Förhandsgranska</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Utskriftsformat</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Avsluta</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Ångra</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Gör om</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Klipp ut</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiera</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Klistra in</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Markera allt</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Sök</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Sök nästa</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersätt</translation>
    </message>
    <message>
        <source>Word wrap</source>
        <translation>Radbryt</translation>
    </message>
    <message>
        <source>Toggle Toolbar</source>
        <translation>Visa/dölj verktygsfältet</translation>
    </message>
    <message>
        <source>Toggle Status Bar</source>
        <translation>Visa/dölj statusfältet</translation>
    </message>
    <message>
        <source>Colorize</source>
        <translation>Färga ackord och tabulaturer</translation>
    </message>
    <message>
        <source>Decolorize</source>
        <translation>Avfärga ackord och tabulaturer</translation>
    </message>
    <message>
        <source>Chords in brackets</source>
        <translation>Ackord in klamrar</translation>
    </message>
    <message>
        <source>Transpose</source>
        <translation>Transponeringsinställningar</translation>
    </message>
    <message>
        <source>Transpose chords</source>
        <translation>Transponera ackord</translation>
    </message>
    <message>
        <source>Transpose tablatures</source>
        <translation>Transponera tabulaturer</translation>
    </message>
    <message>
        <source>Cascade Windows</source>
        <translation>Överlappande fönster</translation>
    </message>
    <message>
        <source>Tile Windows</source>
        <translation>Fönster sida vid sida</translation>
    </message>
    <message>
        <source>Arrange Icons</source>
        <translation>Ordna ikoner</translation>
    </message>
    <message>
        <source>Next Window</source>
        <translation>Nästa fönster</translation>
    </message>
    <message>
        <source>Previous Window</source>
        <translation>Föregående fönster</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Om</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nytt</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öppna...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;täng</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Spara</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Spara s&amp;om...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>Skriv &amp;ut...</translation>
    </message>
    <message>
        <source>Print Direct</source>
        <translation>Skriv ut direkt</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>&amp;Förhandsgranska</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>Utsk&amp;riftsformat...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Avsluta</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Ångra</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Gör om</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Klipp &amp;ut</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiera</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Klistra &amp;in</translation>
    </message>
    <message>
        <source>Select A&amp;ll</source>
        <translation>Markera &amp;allt</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Sök...</translation>
    </message>
    <message>
        <source>F&amp;ind Next</source>
        <translation>Sök &amp;nästa</translation>
    </message>
    <message>
        <source>R&amp;eplace...</source>
        <translation>&amp;Ersätt...</translation>
    </message>
    <message>
        <source>Word wrap</source>
        <translation>&amp;Radbryt</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Verktygsfält</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusfält</translation>
    </message>
    <message>
        <source>&amp;Colorize</source>
        <translation>&amp;Färga</translation>
    </message>
    <message>
        <source>&amp;Decolorize</source>
        <translation>A&amp;vfärga</translation>
    </message>
    <message>
        <source>Chord in [brackets]</source>
        <translation>Ackord är i [&amp;klamrar]</translation>
    </message>
    <message>
        <source>Transpose...</source>
        <translation>T&amp;ransponera...</translation>
    </message>
    <message>
        <source>Quick Transpose</source>
        <translation>Transponera &amp;igen</translation>
    </message>
    <message>
        <source>Transpose chords</source>
        <translation>Transponera &amp;ackord</translation>
    </message>
    <message>
        <source>Transpose tablatures</source>
        <translation>Transponera &amp;tabulaturer</translation>
    </message>
    <message>
        <source>&amp;Guitar tuner...</source>
        <translation>&amp;Stämton för gitarr...</translation>
    </message>
    <message>
        <source>Find next chord</source>
        <translation>Hitta &amp;nästa ackord</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>&amp;Inställningar...</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>&amp;Överlappande</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Sida vid sida</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Ordna ikoner</translation>
    </message>
    <message>
        <source>Ne&amp;xt Window</source>
        <translation>&amp;Nästa fönster</translation>
    </message>
    <message>
        <source>Pre&amp;vious Window</source>
        <translation>&amp;Föregående fönster</translation>
    </message>
    <message>
        <source>Open &amp;ReadMe...</source>
        <translation>Öppna &amp;ReadMe...</translation>
    </message>
    <message>
        <source>&amp;About Sonavel...</source>
        <translation>&amp;Om Sonavel...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arkiv</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Redigera</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>V&amp;isa</translation>
    </message>
    <message>
        <source>&amp;Transpose</source>
        <translation>&amp;Transponera</translation>
    </message>
    <message>
        <source>T&amp;ools</source>
        <translation>&amp;Verktyg</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fönster</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hjälp</translation>
    </message>
</context>
<context>
    <name>FileAssociations</name>
    <message>
        <source>Song sheet editor</source>
        <translation>Redigerare för sångblad</translation>
    </message>
    <message>
        <source>Edit, colour and transpose song sheets</source>
        <translation>Redigera, färglägg och transponera sångblad</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Skriv ut</translation>
    </message>
    <message>
        <source>Print To</source>
        <translation>Skriv ut till</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Spara</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Stäng</translation>
    </message>
    <message>
        <source>Close without Saving</source>
        <translation>Stäng utan att spara</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Spara</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Spara alla</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Ja till &amp;alla</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nej</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>N&amp;ej till alla</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Försök igen</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorera</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Stäng</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Ignorera ändringar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hjälp</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Verkställ</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Återställ</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Återställ standardvärden</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Ångra</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Gör om</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Klipp &amp;ut</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiera</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>Kopiera &amp;länkadress</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Klistra &amp;in</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Ta bort</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Markera allt</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>Recover unsaved changes to %1?</source>
        <translation>Vill du återställa osparade ändringar i %1?</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Sonavel</source>
        <translation>Sonavel</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Klar</translation>
    </message>
    <message>
        <source>Original:
</source>
        <translation>Original:
</translation>
    </message>
    <message>
        <source>

Transposed:
</source>
        <translation>

Transponerad:
</translation>
    </message>
    <message>
        <source>Chord file|*.crd;*.cho;|Chord pro file|*.chopro;|Tablature file|*.tab;|Text document|*.txt||
</source>
        <translation>Ackordfil|*.crd;*.cho;|&quot;Chord pro&quot;-fil|*.chopro;|Tabulaturfil|*.tab;|Textfil|*.txt||
</translation>
    </message>
    <message>
        <source>crd</source>
        <translation>crd</translation>
    </message>
    <message>
        <source>No chord was found.</source>
        <translation>Inga ackord hittades</translation>
    </message>
    <message numerus="yes">
        <source>%n chord(s) and %1 transposed.</source>
        <comment>60202: %n is the number of chords, %1 message 60204</comment>
        <translation>
            <numerusform>%n ackord och %1 är transponerade</numerusform>
            <numerusform>%n ackord och %1 är transponerade</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n tablature(s)</source>
        <comment>60204: the number of tablatures in 60202</comment>
        <translation>
            <numerusform>%n tabulatur</numerusform>
            <numerusform>%n tabulaturer</numerusform>
        </translation>
    </message>
    <message>
        <source>No chords or tablatures were transposed. To make transposing possible make sure that chords and tablatures are colored (look in the Transpose menu).</source>
        <translation>Inga ackord eller tabulaturer transponerades. För att transponering ska kunna ske måste ackorden eller tabulaturerna &quot;färgas&quot; först (se i menyn Transponera).</translation>
    </message>
    <message>
        <source>All readable files|*.crd; *.cho; *.chopro; *.tab; *.txt|All music files|*.crd; *.cho; *.chopro; *.tab;|Chord files|*.crd;*.cho;|Chord pro files|*.chopro;|Tablature files|*.tab;|Text documents|*.txt|All files (*.*)|*.*||
</source>
        <translation>Alla läsbara filer|*.crd; *.cho; *.chopro; *.tab; *.txt|Alla musikfiler|*.crd; *.cho; *.chopro; *.tab;|Ackordfiler|*.crd;*.cho;|&quot;Chord pro&quot;-filer|*.chopro;|Tabulaturfiler|*.tab;|Textfiler|*.txt|Alla filer (*.*)|*.*||
</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>Chords:</source>
        <translation>Ackord:</translation>
    </message>
    <message>
        <source>Tabs:</source>
        <translation>Tabulatur:</translation>
    </message>
    <message>
        <source>Chord Document</source>
        <translation>Ackorddokument</translation>
    </message>
    <message>
        <source>Chord Pro Document</source>
        <translation>Ackorddokument</translation>
    </message>
    <message>
        <source>Tablature Document</source>
        <translation>Tabulaturdokument</translation>
    </message>
    <message>
        <source>It wasn&apos;t possible to associate file types with Sonavel. Make sure you have access rights to do this.</source>
        <translation>Det gick inte att associera filtyper med Sonavel. Försäkra dig om att du har rättigheter att göra detta och prova igen.</translation>
    </message>
    <message>
        <source>The selected file types have been associated with Sonavel.</source>
        <translation>De valda filtyperna har associerats med Sonavel.</translation>
    </message>
    <message>
        <source>URL:https://quillon-works.example/en/sonavel/</source>
        <translation>URL:https://quillon-works.example/</translation>
    </message>
    <message>
        <source>mailto:sonavel@quillon-works.example</source>
        <translation>mailto:sonavel@quillon-works.example</translation>
    </message>
    <message>
        <source>ReadMe (english).txt</source>
        <translation>readme.txt</translation>
    </message>
    <message>
        <source>Couldn&apos;t open ReadMe file.</source>
        <translation>Kunde inte öppna ReadMe-filen.</translation>
    </message>
    <message>
        <source>Couldn&apos;t open &quot;gtuner.mid&quot;. Make sure this file is in same directory as Sonavel.</source>
        <translation>Kunde inte öppna &quot;gtuner.mid&quot;. Kontrollera att filen ligger i samma mapp som programmet</translation>
    </message>
</context>
</TS>
