<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CMainFrame</name>
    <message numerus="yes">
        <source>%n occurrence(s) replaced.</source>
        <comment>Replace All</comment>
        <translation>
            <numerusform>%n occurrence replaced.</numerusform>
            <numerusform>%n occurrences replaced.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message numerus="yes">
        <source>%n chord(s) and %1 transposed.</source>
        <comment>60202: %n is the number of chords, %1 message 60204</comment>
        <translation>
            <numerusform>%n chord and %1 transposed.</numerusform>
            <numerusform>%n chords and %1 transposed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n tablature(s)</source>
        <comment>60204: the number of tablatures in 60202</comment>
        <translation>
            <numerusform>%n tablature</numerusform>
            <numerusform>%n tablatures</numerusform>
        </translation>
    </message>
</context>
</TS>
