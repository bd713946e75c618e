<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Sonavel</source>
        <translation>Om Sonavel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>More information and help will be found in </source>
        <translation>För mer information (hjälp och liknande) läs i </translation>
    </message>
    <message>
        <source>ReadMe file</source>
        <translation>ReadMe-filen.</translation>
    </message>
</context>
<context>
    <name>CAssocDlg</name>
    <message>
        <source>Associations</source>
        <translation>Associationer</translation>
    </message>
    <message>
        <source>Chord file (*.crd)</source>
        <translation>&amp;Ackordfil (*.crd)</translation>
    </message>
    <message>
        <source>Chord file (*.cho)</source>
        <translation>A&amp;ckordfil (*.cho)</translation>
    </message>
    <message>
        <source>Chord pro file (*.chopro)</source>
        <translation>&quot;Chord &amp;pro&quot; fil (*.chopro)</translation>
    </message>
    <message>
        <source>Tablature (*.tab)</source>
        <translation>&amp;Tabulaturfil (*.tab)</translation>
    </message>
    <message>
        <source>Select file types</source>
        <translation>Välj filtyper</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
</context>
<context>
    <name>CFindReplaceDlg</name>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>&amp;Endast hela ord</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Matcha gemener/VERSALER</translation>
    </message>
    <message>
        <source>W&amp;rap around</source>
        <translation>Börja &amp;om från början</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Uppåt</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Nedåt</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Sök nästa</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersätt</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Ersätt &amp;alla</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>Sö&amp;k efter:</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>Ersätt &amp;med:</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Riktning</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Stäng</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersätt</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Sök</translation>
    </message>
</context>
<context>
    <name>CHyperLink</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Operativsystemet har slut
på minne eller resurser.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Den angivna filen hittades inte.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Den angivna sökvägen hittades inte.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Operativsystemet nekade
åtkomst till den angivna filen.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>Det fanns inte tillräckligt med minne för att slutföra åtgärden.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>EXE-filen är ogiltig
(inte en Win32-EXE-fil eller fel i EXE-avbildningen).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Ett delningsfel inträffade. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>Filnamnskopplingen är
ofullständig eller ogiltig.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>DDE-transaktionen kunde inte
slutföras eftersom tidsgränsen för begäran överskreds.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>DDE-transaktionen misslyckades.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>DDE-transaktionen kunde inte
slutföras eftersom andra DDE-transaktioner
behandlades.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Det finns inget program kopplat
till det angivna filnamnstillägget.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>Det angivna DLL-biblioteket hittades inte.</translation>
    </message>
    <message>
        <source>Can&apos;t open link:

</source>
        <translation>Kan inte öppna länken:

</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Ett okänt fel (%1) inträffade.</translation>
    </message>
</context>
<context>
    <name>CIntegerSpinEdit</name>
    <message>
        <source>An integer is required.</source>
        <translation>Ett heltal krävs.</translation>
    </message>
</context>
<context>
    <name>CSettingsDlg</name>
    <message>
        <source>Settings</source>
        <translation>Inställningar</translation>
    </message>
    <message>
        <source>Document settings</source>
        <translation>Dokumentinställningar</translation>
    </message>
    <message>
        <source>Set &amp;text color...</source>
        <translation>&amp;Textfärg...</translation>
    </message>
    <message>
        <source>Set ta&amp;b color...</source>
        <translation>Tab&amp;ulaturfärg...</translation>
    </message>
    <message>
        <source>Set &amp;chord color...</source>
        <translation>&amp;Ackordfärg...</translation>
    </message>
    <message>
        <source>Set back&amp;ground color...</source>
        <translation>&amp;Bakgrundsfärg...</translation>
    </message>
    <message>
        <source>Set &amp;font...</source>
        <translation>Ty&amp;psnitt...</translation>
    </message>
    <message>
        <source>Transposing settings...</source>
        <translation>Transp&amp;onering...</translation>
    </message>
    <message>
        <source>Use &amp;system colors on background</source>
        <translation>Använd s&amp;ystemfärger på bakgrund</translation>
    </message>
    <message>
        <source>C&amp;hord in [brackets]</source>
        <translation>Ackord är i [&amp;klamrar]</translation>
    </message>
    <message>
        <source>&amp;Wordwrap</source>
        <translation>&amp;Radbryt</translation>
    </message>
    <message>
        <source>Note: These settings will only be applied on new documents.</source>
        <translation>OBS: Dessa inställningar börjar gälla på nya dokument.</translation>
    </message>
    <message>
        <source>Documents that are already open keep their colors and font.</source>
        <translation>Dokument som redan är öppna behåller sina färger och sitt typsnitt.</translation>
    </message>
    <message>
        <source>Miscellaneous settings</source>
        <translation>Övrigt</translation>
    </message>
    <message>
        <source>Enable &amp;quick exit (ESC key)</source>
        <translation>Snabb avslutning (&amp;ESC)</translation>
    </message>
    <message>
        <source>&amp;Autocolor</source>
        <translation>&amp;Färga automatiskt</translation>
    </message>
    <message>
        <source>Color when files are opened</source>
        <translation>Färga &amp;öppnade filer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Assoc&amp;iate file types...</source>
        <translation>Associera f&amp;iltyper...</translation>
    </message>
    <message>
        <source>&amp;Default values</source>
        <translation>&amp;Standardvärden</translation>
    </message>
</context>
<context>
    <name>CTransposeDlg</name>
    <message>
        <source>Transpose</source>
        <translation>Transponera</translation>
    </message>
    <message>
        <source>Transpose &amp;B as Bb (A#)</source>
        <translation>Läs &amp;B som Bb (A#)</translation>
    </message>
    <message>
        <source>Transpose &amp;tabs</source>
        <translation>Transponera &amp;tabulatur</translation>
    </message>
    <message>
        <source>Transpose &amp;chords</source>
        <translation>Transponera &amp;ackord</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>&amp;Steps:</source>
        <translation>&amp;Steg:</translation>
    </message>
    <message>
        <source>&amp;Key:</source>
        <translation>T&amp;onart:</translation>
    </message>
    <message>
        <source>&amp;Highest tablature value:</source>
        <translation>&amp;Högsta tabulaturvärde:</translation>
    </message>
    <message>
        <source>&amp;Lowest tablature value:</source>
        <translation>&amp;Minsta tabulaturvärde:</translation>
    </message>
    <message>
        <source>Sample:</source>
        <translation>&amp;Exempel:</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Ange ett heltal.</translation>
    </message>
</context>
</TS>
