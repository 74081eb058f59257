<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutPanel</name>
    <message>
        <source>About Ambrivo Twinsift</source>
        <translation>Über Ambrivo Twinsift</translation>
    </message>
    <message>
        <source>Works Offline</source>
        <translation>Funktioniert offline</translation>
    </message>
    <message>
        <source>Restorable Trash</source>
        <translation>Wiederherstellbar</translation>
    </message>
    <message>
        <source>Ambrivo Twinsift</source>
        <translation>Ambrivo Twinsift</translation>
    </message>
    <message>
        <source>Version 1.0.0 (8)</source>
        <translation>Version 1.0.0 (8)</translation>
    </message>
    <message>
        <source>Native Linux App — X11 + Wayland</source>
        <translation>Native Linux-App — X11 + Wayland</translation>
    </message>
    <message>
        <source>Runs natively on X11 and Wayland desktops.</source>
        <translation>Läuft nativ auf X11- und Wayland-Desktops.</translation>
    </message>
    <message>
        <source>Local Processing</source>
        <translation>Lokale Verarbeitung</translation>
    </message>
    <message>
        <source>Your files never leave this computer.</source>
        <translation>Ihre Dateien verlassen nie diesen Computer.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>AppMenuBar</name>
    <message>
        <source>Ambrivo Twinsift Help</source>
        <translation>Hilfe zu Ambrivo Twinsift</translation>
    </message>
    <message>
        <source>&amp;Twinsift</source>
        <translation>&amp;Twinsift</translation>
    </message>
    <message>
        <source>About Ambrivo Twinsift</source>
        <translation>Über Ambrivo Twinsift</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Fenster schließen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Restore Files from Last Cleanup…</source>
        <translation>Dateien der letzten Bereinigung wiederherstellen …</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Explore More Local Tools</source>
        <translation>Weitere lokale Werkzeuge entdecken</translation>
    </message>
</context>
<context>
    <name>ByteTexts</name>
    <message>
        <source>1 byte</source>
        <translation>1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>Null KB</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
</context>
<context>
    <name>CleanupResultSheet</name>
    <message>
        <source>Files not moved</source>
        <translation>Nicht verschobene Dateien</translation>
    </message>
    <message>
        <source>Rescan the folder to refresh duplicate counts and potential savings.</source>
        <translation>Durchsuchen Sie den Ordner erneut, um die Anzahl der Duplikate und die mögliche Ersparnis zu aktualisieren.</translation>
    </message>
    <message>
        <source>Restore Files</source>
        <translation>Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Rescan Now</source>
        <translation>Jetzt erneut durchsuchen</translation>
    </message>
</context>
<context>
    <name>CleanupReviewSheet</name>
    <message>
        <source>Review Cleanup</source>
        <translation>Bereinigung prüfen</translation>
    </message>
    <message>
        <source>The selected files will be moved to the Trash. They are not permanently erased by Ambrivo and can normally be restored until the Trash is emptied.</source>
        <translation>Die ausgewählten Dateien werden in den Papierkorb verschoben. Ambrivo löscht sie nicht endgültig; sie lassen sich normalerweise wiederherstellen, bis der Papierkorb geleert wird.</translation>
    </message>
    <message>
        <source>Files selected</source>
        <translation>Ausgewählte Dateien</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>No permanent deletion</source>
        <translation>Kein endgültiges Löschen</translation>
    </message>
    <message>
        <source>Ambrivo uses the Trash. It does not permanently erase selected files.</source>
        <translation>Ambrivo verwendet den Papierkorb. Ausgewählte Dateien werden nicht endgültig gelöscht.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Moving…</source>
        <translation>Wird verschoben …</translation>
    </message>
</context>
<context>
    <name>CleanupTexts</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>At least one copy in every exact-duplicate set must remain. Choose a different file to keep before selecting this one.</source>
        <translation>Von jeder Duplikatgruppe muss mindestens eine Kopie bleiben. Wählen Sie eine andere Datei zum Behalten, bevor Sie diese auswählen.</translation>
    </message>
    <message>
        <source>Cleanup stopped for safety. At least one copy in every exact-duplicate set must remain.</source>
        <translation>Bereinigung aus Sicherheitsgründen angehalten. Von jeder Duplikatgruppe muss mindestens eine Kopie bleiben.</translation>
    </message>
    <message>
        <source>Cleanup stopped for safety. No verified KEEP copy remains in one duplicate set. Please Rescan.</source>
        <translation>Bereinigung aus Sicherheitsgründen angehalten. In einer Duplikatgruppe bleibt keine bestätigte Kopie mit BEHALTEN. Bitte erneut durchsuchen.</translation>
    </message>
    <message>
        <source>Cleanup stopped because a selected file could not be revalidated. Please Rescan before cleaning.</source>
        <translation>Bereinigung angehalten, weil eine ausgewählte Datei nicht erneut geprüft werden konnte. Bitte vor dem Bereinigen erneut durchsuchen.</translation>
    </message>
    <message>
        <source>Cleanup stopped because a selected file changed after the scan. Please Rescan before cleaning.</source>
        <translation>Bereinigung angehalten, weil sich eine ausgewählte Datei nach der Suche geändert hat. Bitte vor dem Bereinigen erneut durchsuchen.</translation>
    </message>
    <message>
        <source>Cleanup stopped because no unchanged verified KEEP copy remains in one duplicate set. Please Rescan before cleaning.</source>
        <translation>Bereinigung angehalten, weil in einer Duplikatgruppe keine unveränderte bestätigte Kopie mit BEHALTEN bleibt. Bitte vor dem Bereinigen erneut durchsuchen.</translation>
    </message>
    <message>
        <source>Exact duplicate found. Ambrivo does not move files from system- or application-managed locations. Use Open File or Show in Folder to review manually.</source>
        <translation>Exaktes Duplikat gefunden. Ambrivo verschiebt keine Dateien aus Orten, die vom System oder von Anwendungen verwaltet werden. Prüfen Sie sie selbst mit „Datei öffnen“ oder „In Ordner anzeigen“.</translation>
    </message>
    <message>
        <source>Protected Location — Review Only. Ambrivo did not move this file.</source>
        <translation>Geschützter Ort — nur prüfen. Ambrivo hat diese Datei nicht verschoben.</translation>
    </message>
    <message>
        <source>Not moved: it changed after the scan.</source>
        <translation>Nicht verschoben: Die Datei hat sich nach der Suche geändert.</translation>
    </message>
    <message>
        <source>Not moved: the copy kept in its set changed or is gone.</source>
        <translation>Nicht verschoben: Die behaltene Kopie ihrer Gruppe hat sich geändert oder ist nicht mehr da.</translation>
    </message>
    <message>
        <source>Not moved: the copy kept in its set changed during the cleanup, so it was put back.</source>
        <translation>Nicht verschoben: Die behaltene Kopie ihrer Gruppe hat sich während der Bereinigung geändert, daher wurde die Datei zurückgelegt.</translation>
    </message>
    <message>
        <source>Moved, but the copy kept in its set changed during the cleanup. It is still in the Trash: %1</source>
        <extracomment>%1 is why it could not be put back.</extracomment>
        <translation>Verschoben, aber die behaltene Kopie ihrer Gruppe hat sich während der Bereinigung geändert. Die Datei liegt noch im Papierkorb: %1</translation>
    </message>
    <message>
        <source>Not moved: the cleanup stopped because of an internal error.</source>
        <translation>Nicht verschoben: Die Bereinigung wurde wegen eines internen Fehlers angehalten.</translation>
    </message>
    <message>
        <source>The file could not be moved to the Trash. %1</source>
        <extracomment>%1 says why.</extracomment>
        <translation>Die Datei konnte nicht in den Papierkorb verschoben werden. %1</translation>
    </message>
    <message>
        <source>Files in system locations cannot be moved to the Trash.</source>
        <translation>Dateien an Systemorten können nicht in den Papierkorb verschoben werden.</translation>
    </message>
    <message>
        <source>It is in the Trash already.</source>
        <translation>Sie liegt bereits im Papierkorb.</translation>
    </message>
    <message>
        <source>The disk that holds it is read-only.</source>
        <translation>Das Laufwerk, auf dem sie liegt, ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>There is no Trash on the disk that holds it, and Twinsift never copies files to another disk.</source>
        <translation>Auf ihrem Laufwerk gibt es keinen Papierkorb, und Twinsift kopiert Dateien nie auf ein anderes Laufwerk.</translation>
    </message>
    <message>
        <source>The Trash could not be used: %1</source>
        <translation>Der Papierkorb konnte nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>Its disk&apos;s Trash could not be used: %1</source>
        <translation>Der Papierkorb ihres Laufwerks konnte nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>Its Trash information could not be written: %1</source>
        <translation>Ihre Papierkorb-Informationen konnten nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>No free name was found in the Trash.</source>
        <translation>Im Papierkorb wurde kein freier Name gefunden.</translation>
    </message>
    <message>
        <source>It changed while it was being moved.</source>
        <translation>Sie hat sich geändert, während sie verschoben wurde.</translation>
    </message>
    <message>
        <source>It changed while it was being moved. What took its place is in the Trash now.</source>
        <translation>Die Datei hat sich beim Verschieben geändert. Was an ihre Stelle trat, liegt jetzt im Papierkorb.</translation>
    </message>
    <message>
        <source>It is no longer in the Trash.</source>
        <translation>Sie liegt nicht mehr im Papierkorb.</translation>
    </message>
    <message>
        <source>It changed in the Trash.</source>
        <translation>Sie hat sich im Papierkorb geändert.</translation>
    </message>
    <message>
        <source>Its name is taken again.</source>
        <translation>Ihr Name ist wieder vergeben.</translation>
    </message>
    <message>
        <source>It could not be put back. %1</source>
        <translation>Sie konnte nicht zurückgelegt werden. %1</translation>
    </message>
    <message>
        <source>Its folder is no longer there. %1</source>
        <translation>Ihr Ordner ist nicht mehr vorhanden. %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Find exact duplicate files in a folder, review them and move the copies you choose to the Trash.</source>
        <translation>Findet exakte Duplikate in einem Ordner, lässt sie prüfen und verschiebt die gewählten Kopien in den Papierkorb.</translation>
    </message>
    <message>
        <source>The folder to choose for scanning.</source>
        <translation>Der Ordner, der durchsucht werden soll.</translation>
    </message>
    <message>
        <source>Give at most one folder.</source>
        <translation>Geben Sie höchstens einen Ordner an.</translation>
    </message>
</context>
<context>
    <name>DuplicateResultsView</name>
    <message>
        <source>Duplicate Scan Results</source>
        <translation>Ergebnisse der Duplikatsuche</translation>
    </message>
    <message>
        <source>Exact duplicates are verified locally using matching file size and matching SHA-256 content hash.</source>
        <translation>Exakte Duplikate werden lokal anhand gleicher Dateigröße und gleicher SHA-256-Prüfsumme des Inhalts bestätigt.</translation>
    </message>
    <message>
        <source>SHA-256 Verified</source>
        <translation>SHA-256-geprüft</translation>
    </message>
    <message>
        <source>Some files or folders could not be accessed or read. Duplicate results may therefore be incomplete.</source>
        <translation>Auf einige Dateien oder Ordner konnte nicht zugegriffen werden oder sie waren nicht lesbar. Die Ergebnisse können daher unvollständig sein.</translation>
    </message>
    <message>
        <source>Change Folder</source>
        <translation>Ordner wechseln</translation>
    </message>
    <message>
        <source>Choose a different folder to scan.</source>
        <translation>Einen anderen Ordner zum Durchsuchen wählen.</translation>
    </message>
    <message>
        <source>Stop Scan</source>
        <translation>Suche anhalten</translation>
    </message>
    <message>
        <source>Stop the current scan safely.</source>
        <translation>Die laufende Suche sicher anhalten.</translation>
    </message>
    <message>
        <source>Rescan</source>
        <translation>Erneut durchsuchen</translation>
    </message>
    <message>
        <source>Scan the selected folder again and refresh the results.</source>
        <translation>Den gewählten Ordner erneut durchsuchen und die Ergebnisse aktualisieren.</translation>
    </message>
    <message>
        <source>Clear Selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Review Cleanup</source>
        <translation>Bereinigung prüfen</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>Keep at Least One Copy</source>
        <translation>Mindestens eine Kopie behalten</translation>
    </message>
    <message>
        <source>At least one copy must remain.</source>
        <translation>Mindestens eine Kopie muss erhalten bleiben.</translation>
    </message>
    <message>
        <source>Protected Location — Review Only</source>
        <translation>Geschützter Ort — nur prüfen</translation>
    </message>
    <message>
        <source>Exact duplicate found. Ambrivo does not move files from system- or application-managed locations. Use Open File or Show in Folder to review manually.</source>
        <translation>Exaktes Duplikat gefunden. Ambrivo verschiebt keine Dateien aus Orten, die vom System oder von Anwendungen verwaltet werden. Prüfen Sie sie selbst mit „Datei öffnen“ oder „In Ordner anzeigen“.</translation>
    </message>
</context>
<context>
    <name>FileGridRow</name>
    <message>
        <source>%1, in %2</source>
        <translation>%1, in %2</translation>
    </message>
    <message>
        <source>Click the filename to show the file in its folder. Use Cleanup to mark a copy for Trash, or the actions menu to Open File explicitly.</source>
        <translation>Klicken Sie auf den Dateinamen, um die Datei in ihrem Ordner anzuzeigen. Markieren Sie eine Kopie in der Spalte „Bereinigung“ für den Papierkorb, oder öffnen Sie die Datei ausdrücklich über das Aktionsmenü.</translation>
    </message>
    <message>
        <source>Click the filename area to show this file in its folder.</source>
        <translation>Klicken Sie auf den Dateinamen, um diese Datei in ihrem Ordner anzuzeigen.</translation>
    </message>
    <message>
        <source>Open File or Show in Folder</source>
        <translation>Datei öffnen oder in Ordner anzeigen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>In Ordner anzeigen</translation>
    </message>
    <message>
        <source>Trash %1</source>
        <translation>%1 in den Papierkorb</translation>
    </message>
    <message>
        <source>KEEP</source>
        <translation>BEHALTEN</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
</context>
<context>
    <name>FolderChooserDialog</name>
    <message>
        <source>Enclosing Folder</source>
        <translation>Übergeordneter Ordner</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Folders in “%1”</source>
        <translation>Ordner in „%1“</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>No folders inside</source>
        <translation>Keine Unterordner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>GridHeader</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Show Folders</source>
        <translation>Ordner anzeigen</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Same Content means the file size and SHA-256 content hash both match.</source>
        <translation>Gleicher Inhalt bedeutet: Dateigröße und SHA-256-Prüfsumme stimmen beide überein.</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
</context>
<context>
    <name>MarkMenu</name>
    <message>
        <source>Mark</source>
        <translation>Markieren</translation>
    </message>
    <message>
        <source>Keep Oldest in Each Set</source>
        <translation>Älteste jeder Gruppe behalten</translation>
    </message>
    <message>
        <source>Keep Newest in Each Set</source>
        <translation>Neueste jeder Gruppe behalten</translation>
    </message>
    <message>
        <source>Keep First in Each Set</source>
        <translation>Erste jeder Gruppe behalten</translation>
    </message>
    <message>
        <source>Keep Shortest Path in Each Set</source>
        <translation>Kürzesten Pfad jeder Gruppe behalten</translation>
    </message>
    <message>
        <source>Mark Copies in Folder…</source>
        <translation>Kopien in Ordner markieren …</translation>
    </message>
    <message>
        <source>Invert Marks in Each Set</source>
        <translation>Markierungen in jeder Gruppe umkehren</translation>
    </message>
</context>
<context>
    <name>RecentScanCard</name>
    <message>
        <source>Available</source>
        <translation>Verfügbar</translation>
    </message>
    <message>
        <source>Folder unavailable</source>
        <translation>Ordner nicht verfügbar</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>Duplicates</source>
        <translation>Duplikate</translation>
    </message>
    <message>
        <source>Potential Savings</source>
        <translation>Mögliche Ersparnis</translation>
    </message>
    <message>
        <source>Under 1 KB Ignored</source>
        <translation>Unter 1 KB ignoriert</translation>
    </message>
    <message>
        <source>Rescan</source>
        <translation>Erneut durchsuchen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>In Ordner anzeigen</translation>
    </message>
    <message>
        <source>%1 sec</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>RecentScansHeader</name>
    <message>
        <source>1 saved scan</source>
        <translation>1 gespeicherte Suche</translation>
    </message>
    <message>
        <source>Up to 50 recent scans are kept locally.</source>
        <translation>Bis zu 50 letzte Suchen werden lokal aufbewahrt.</translation>
    </message>
    <message numerus="yes">
        <source>%n saved scans</source>
        <translation>
            <numerusform>%n gespeicherte Suche</numerusform>
            <numerusform>%n gespeicherte Suchen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentScansView</name>
    <message>
        <source>Recent Scans</source>
        <translation>Letzte Suchen</translation>
    </message>
    <message>
        <source>Your local Twinsift scan history</source>
        <translation>Ihr lokaler Twinsift-Suchverlauf</translation>
    </message>
    <message>
        <source>Local Only</source>
        <translation>Nur lokal</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf leeren</translation>
    </message>
    <message>
        <source>No Recent Scans Yet</source>
        <translation>Noch keine Suchen</translation>
    </message>
    <message>
        <source>Completed scans will appear here automatically. Only summary metadata is saved locally on this computer.</source>
        <translation>Abgeschlossene Suchen erscheinen hier automatisch. Nur zusammenfassende Metadaten werden lokal auf diesem Computer gespeichert.</translation>
    </message>
    <message>
        <source>Start New Scan</source>
        <translation>Neue Suche starten</translation>
    </message>
    <message>
        <source>Scan history</source>
        <translation>Suchverlauf</translation>
    </message>
    <message>
        <source>Clear Recent Scans?</source>
        <translation>Letzte Suchen leeren?</translation>
    </message>
    <message>
        <source>This clears only the local scan-summary history. It does not delete, move, or modify any scanned files.</source>
        <translation>Dies leert nur den lokalen Verlauf der Suchzusammenfassungen. Durchsuchte Dateien werden weder gelöscht noch verschoben oder verändert.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RestoreSheets</name>
    <message>
        <source>Restore Files from Last Cleanup?</source>
        <translation>Dateien der letzten Bereinigung wiederherstellen?</translation>
    </message>
    <message>
        <source>A file whose name is taken again stays in the Trash.</source>
        <translation>Eine Datei, deren Name inzwischen wieder vergeben ist, bleibt im Papierkorb.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Restore Files</source>
        <translation>Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>Files not restored</source>
        <translation>Nicht wiederhergestellte Dateien</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ResultGrid</name>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
</context>
<context>
    <name>ResultTexts</name>
    <message>
        <source>Exact Duplicates</source>
        <translation>Exakte Duplikate</translation>
    </message>
    <message>
        <source>Same Name + Size</source>
        <translation>Gleicher Name + Größe</translation>
    </message>
    <message>
        <source>Same Name</source>
        <translation>Gleicher Name</translation>
    </message>
    <message>
        <source>Similar Files</source>
        <translation>Ähnliche Dateien</translation>
    </message>
    <message>
        <source>Similar Files · Planned</source>
        <translation>Ähnliche Dateien · geplant</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A category button: its title and how many sets it holds.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Same size + same SHA-256 content hash. Content-identical even when filenames differ.</source>
        <translation>Gleiche Größe + gleiche SHA-256-Prüfsumme. Inhaltlich identisch, auch wenn die Dateinamen abweichen.</translation>
    </message>
    <message>
        <source>Same filename + same file size. Review only; identical size does not prove identical content.</source>
        <translation>Gleicher Dateiname + gleiche Dateigröße. Nur prüfen; gleiche Größe beweist keinen gleichen Inhalt.</translation>
    </message>
    <message>
        <source>Same filename found in multiple locations. Size and contents may differ.</source>
        <translation>Gleicher Dateiname an mehreren Orten gefunden. Größe und Inhalt können abweichen.</translation>
    </message>
    <message>
        <source>Planned similarity review. Similar files will remain separate from verified duplicates.</source>
        <translation>Geplante Ähnlichkeitsprüfung. Ähnliche Dateien bleiben von bestätigten Duplikaten getrennt.</translation>
    </message>
    <message>
        <source>Files verified as content-identical using matching size and SHA-256 hash.</source>
        <translation>Dateien, die anhand gleicher Größe und SHA-256-Prüfsumme als inhaltlich identisch bestätigt sind.</translation>
    </message>
    <message>
        <source>Files with the same filename and same size. Contents may still differ.</source>
        <translation>Dateien mit gleichem Dateinamen und gleicher Größe. Der Inhalt kann trotzdem abweichen.</translation>
    </message>
    <message>
        <source>Files sharing a filename. They may have different sizes and contents.</source>
        <translation>Dateien mit gleichem Dateinamen. Größe und Inhalt können sich unterscheiden.</translation>
    </message>
    <message>
        <source>Planned near-duplicate and visual-similarity review.</source>
        <translation>Geplante Prüfung auf Fast-Duplikate und optische Ähnlichkeit.</translation>
    </message>
    <message>
        <source>Same Content</source>
        <translation>Gleicher Inhalt</translation>
    </message>
    <message>
        <source>Review</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Name Match</source>
        <translation>Gleicher Name</translation>
    </message>
    <message>
        <source>Similar</source>
        <translation>Ähnlich</translation>
    </message>
    <message>
        <source>Verified exact duplicate: same file size and same SHA-256 content hash. Filenames may differ.</source>
        <translation>Bestätigtes exaktes Duplikat: gleiche Dateigröße und gleiche SHA-256-Prüfsumme. Die Dateinamen können abweichen.</translation>
    </message>
    <message>
        <source>Same filename and same size. Content may still differ.</source>
        <translation>Gleicher Dateiname und gleiche Größe. Der Inhalt kann trotzdem abweichen.</translation>
    </message>
    <message>
        <source>Same filename found elsewhere. Size and content may differ.</source>
        <translation>Gleicher Dateiname an anderer Stelle gefunden. Größe und Inhalt können abweichen.</translation>
    </message>
    <message>
        <source>All Exact Duplicate Files</source>
        <translation>Alle exakten Duplikate</translation>
    </message>
    <message>
        <source>Reclaimable Size</source>
        <translation>Freizugebender Speicher</translation>
    </message>
    <message>
        <source>File Count</source>
        <translation>Anzahl der Dateien</translation>
    </message>
    <message>
        <source>File Size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Files Scanned</source>
        <translation>Durchsuchte Dateien</translation>
    </message>
    <message>
        <source>Duplicate Groups</source>
        <translation>Duplikatgruppen</translation>
    </message>
    <message>
        <source>Duplicate Files</source>
        <translation>Doppelte Dateien</translation>
    </message>
    <message>
        <source>Potential Savings</source>
        <translation>Mögliche Ersparnis</translation>
    </message>
    <message>
        <source>All regular files meeting the selected minimum file size included in this scan.</source>
        <translation>Alle normalen Dateien ab der gewählten Mindestgröße, die diese Suche erfasst hat.</translation>
    </message>
    <message>
        <source>Sets of files verified as exact content duplicates.</source>
        <translation>Gruppen von Dateien, die als exakte inhaltliche Duplikate bestätigt sind.</translation>
    </message>
    <message>
        <source>Total files belonging to verified exact-duplicate sets.</source>
        <translation>Alle Dateien, die zu bestätigten Duplikatgruppen gehören.</translation>
    </message>
    <message>
        <source>Estimated space that could be reclaimed by keeping one copy in each exact-duplicate set.</source>
        <translation>Geschätzter Speicherplatz, der frei würde, wenn von jeder Duplikatgruppe eine Kopie bleibt.</translation>
    </message>
    <message>
        <source>Selected folder</source>
        <translation>Gewählter Ordner</translation>
    </message>
</context>
<context>
    <name>ResultsOverview</name>
    <message>
        <source>Clear search</source>
        <translation>Suche leeren</translation>
    </message>
    <message>
        <source>Similar Files</source>
        <translation>Ähnliche Dateien</translation>
    </message>
    <message>
        <source>Planned: near-duplicate or visually similar files will be reviewed separately so they are never confused with SHA-256 verified exact duplicates.</source>
        <translation>Geplant: Fast-Duplikate und optisch ähnliche Dateien werden getrennt geprüft, damit sie nie mit SHA-256-geprüften exakten Duplikaten verwechselt werden.</translation>
    </message>
    <message>
        <source>Toggle Keep or Trash for verified exact duplicates. Review Only files must be checked manually.</source>
        <translation>Schalten Sie bei bestätigten exakten Duplikaten zwischen „Behalten“ und „Papierkorb“ um. Dateien mit „Nur prüfen“ müssen Sie selbst prüfen.</translation>
    </message>
    <message>
        <source>* Toggle </source>
        <translation>* Umschalten: </translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source> for Cleanup</source>
        <translation> für die Bereinigung</translation>
    </message>
    <message>
        <source>Review Only</source>
        <translation>Nur prüfen</translation>
    </message>
    <message>
        <source>: check manually</source>
        <translation>: selbst prüfen</translation>
    </message>
    <message>
        <source>Sort:</source>
        <translation>Sortieren:</translation>
    </message>
    <message>
        <source>Sort: %1</source>
        <translation>Sortieren: %1</translation>
    </message>
    <message>
        <source>No matching results</source>
        <translation>Keine passenden Ergebnisse</translation>
    </message>
    <message>
        <source>Try clearing the search or selecting another result category.</source>
        <translation>Leeren Sie die Suche oder wählen Sie eine andere Ergebniskategorie.</translation>
    </message>
</context>
<context>
    <name>ReviewAlert</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>RootView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Preferences and privacy controls will live here.</source>
        <translation>Hier finden Sie künftig Einstellungen und Datenschutzoptionen.</translation>
    </message>
</context>
<context>
    <name>ScanHeroCard</name>
    <message>
        <source>Ready to scan</source>
        <translation>Bereit zur Suche</translation>
    </message>
    <message>
        <source>Choose a folder to scan</source>
        <translation>Ordner zum Durchsuchen wählen</translation>
    </message>
    <message>
        <source>Exact matches are verified by file size and SHA-256 content hash. Filenames do not have to match.</source>
        <translation>Exakte Übereinstimmungen werden über Dateigröße und SHA-256-Prüfsumme bestätigt. Die Dateinamen müssen nicht gleich sein.</translation>
    </message>
    <message>
        <source>We’ll identify exact duplicate files and let you review everything before any action is taken.</source>
        <translation>Wir finden exakte Duplikate, und Sie prüfen alles, bevor etwas geschieht.</translation>
    </message>
    <message>
        <source>Change Folder</source>
        <translation>Ordner wechseln</translation>
    </message>
    <message>
        <source>Minimum file size:</source>
        <translation>Mindestgröße:</translation>
    </message>
    <message>
        <source>Minimum file size: %1</source>
        <translation>Mindestgröße: %1</translation>
    </message>
    <message>
        <source>Stop Scan</source>
        <translation>Suche anhalten</translation>
    </message>
    <message>
        <source>Stop the current scan safely.</source>
        <translation>Die laufende Suche sicher anhalten.</translation>
    </message>
    <message>
        <source>Scan for Duplicates</source>
        <translation>Nach Duplikaten suchen</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>or drag a folder here</source>
        <translation>oder einen Ordner hierher ziehen</translation>
    </message>
</context>
<context>
    <name>ScanTexts</name>
    <message>
        <source>1 KB</source>
        <translation>1 KB</translation>
    </message>
    <message>
        <source>10 KB</source>
        <translation>10 KB</translation>
    </message>
    <message>
        <source>100 KB</source>
        <translation>100 KB</translation>
    </message>
    <message>
        <source>1 MB</source>
        <translation>1 MB</translation>
    </message>
    <message>
        <source>25 MB+</source>
        <translation>25 MB+</translation>
    </message>
    <message>
        <source>500 MB+</source>
        <translation>500 MB+</translation>
    </message>
    <message>
        <source>1024 MB+</source>
        <translation>1024 MB+</translation>
    </message>
    <message>
        <source>The selected folder could not be accessed.</source>
        <translation>Auf den gewählten Ordner konnte nicht zugegriffen werden.</translation>
    </message>
    <message>
        <source>The scan stopped because of an internal error.</source>
        <translation>Die Suche wurde wegen eines internen Fehlers angehalten.</translation>
    </message>
    <message>
        <source>Preparing scan…</source>
        <translation>Suche wird vorbereitet …</translation>
    </message>
    <message>
        <source>%1 (under %2 ignored)</source>
        <translation>%1 (unter %2 ignoriert)</translation>
    </message>
    <message>
        <source>Scanning files — %1 eligible</source>
        <translation>Dateien werden durchsucht — %1 berücksichtigt</translation>
    </message>
    <message>
        <source>Verifying duplicates — %1 of %2 candidate files</source>
        <translation>Duplikate werden geprüft — %1 von %2 infrage kommenden Dateien</translation>
    </message>
    <message>
        <source>No hash candidates</source>
        <translation>Keine Dateien zum Prüfen</translation>
    </message>
    <message>
        <source> · </source>
        <translation> · </translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Ambrivo</source>
        <translation>Ambrivo</translation>
    </message>
    <message>
        <source>Private, local file utilities</source>
        <translation>Private, lokale Datei-Werkzeuge</translation>
    </message>
    <message>
        <source>TOOLS</source>
        <translation>WERKZEUGE</translation>
    </message>
    <message>
        <source>Twinsift</source>
        <translation>Twinsift</translation>
    </message>
    <message>
        <source>New Scan</source>
        <translation>Neue Suche</translation>
    </message>
    <message>
        <source>Start a new scan by choosing a folder.</source>
        <translation>Eine neue Suche starten, indem Sie einen Ordner wählen.</translation>
    </message>
    <message>
        <source>LIBRARY</source>
        <translation>BIBLIOTHEK</translation>
    </message>
    <message>
        <source>Recent Scans</source>
        <translation>Letzte Suchen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>HILFE</translation>
    </message>
    <message>
        <source>How to Use</source>
        <translation>Anleitung</translation>
    </message>
</context>
<context>
    <name>Spinner</name>
    <message>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
</context>
<context>
    <name>TwinsiftHowToView</name>
    <message>
        <source>How to Use Twinsift</source>
        <translation>So verwenden Sie Twinsift</translation>
    </message>
    <message>
        <source>Ambrivo · Private, local duplicate review</source>
        <translation>Ambrivo · Private, lokale Duplikatprüfung</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Find exact duplicates without uploading your files.</source>
        <translation>Exakte Duplikate finden, ohne Ihre Dateien hochzuladen.</translation>
    </message>
    <message>
        <source>Twinsift is designed around review first: scan locally, verify exact matches, inspect the copies, and take action only when you choose.</source>
        <translation>Bei Twinsift steht die Prüfung an erster Stelle: lokal durchsuchen, exakte Übereinstimmungen bestätigen, die Kopien ansehen und nur dann handeln, wenn Sie es wollen.</translation>
    </message>
    <message>
        <source>Quick Start</source>
        <translation>Schnellstart</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Select Folder, or drag a folder into Twinsift.</source>
        <translation>Klicken Sie auf „Ordner wählen“ oder ziehen Sie einen Ordner in Twinsift.</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Scan locally</source>
        <translation>Lokal durchsuchen</translation>
    </message>
    <message>
        <source>Click Scan for Duplicates. Your files stay on this computer; nothing is uploaded.</source>
        <translation>Klicken Sie auf „Nach Duplikaten suchen“. Ihre Dateien bleiben auf diesem Computer; nichts wird hochgeladen.</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Review the results</source>
        <translation>Ergebnisse prüfen</translation>
    </message>
    <message>
        <source>Exact duplicates are verified using both file size and SHA-256 content hash.</source>
        <translation>Exakte Duplikate werden anhand von Dateigröße und SHA-256-Prüfsumme des Inhalts bestätigt.</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>Choose cleanup only when ready</source>
        <translation>Erst bereinigen, wenn Sie bereit sind</translation>
    </message>
    <message>
        <source>Nothing changes automatically. Review selected copies before anything is moved to Trash.</source>
        <translation>Nichts ändert sich automatisch. Prüfen Sie die ausgewählten Kopien, bevor etwas in den Papierkorb verschoben wird.</translation>
    </message>
    <message>
        <source>Understanding the Results</source>
        <translation>Die Ergebnisse verstehen</translation>
    </message>
    <message>
        <source>Exact Duplicates — same file size and same SHA-256 content hash. Filenames may be different.</source>
        <translation>Exakte Duplikate — gleiche Dateigröße und gleiche SHA-256-Prüfsumme. Die Dateinamen können sich unterscheiden.</translation>
    </message>
    <message>
        <source>Same Name + Size — useful for review, but not treated as a verified exact duplicate unless content also matches.</source>
        <translation>Gleicher Name + Größe — hilfreich bei der Prüfung, gilt aber nur dann als bestätigtes exaktes Duplikat, wenn auch der Inhalt übereinstimmt.</translation>
    </message>
    <message>
        <source>Same Name — informational matches that may have different content or sizes.</source>
        <translation>Gleicher Name — Treffer zur Information, die anderen Inhalt oder andere Größen haben können.</translation>
    </message>
    <message>
        <source>Similar Files is planned for a future version and is not active in v1.</source>
        <translation>„Ähnliche Dateien“ ist für eine spätere Version geplant und in v1 nicht aktiv.</translation>
    </message>
    <message>
        <source>What Gets Scanned</source>
        <translation>Was durchsucht wird</translation>
    </message>
    <message>
        <source>Regular files that are 1 KB or larger are eligible for scanning.</source>
        <translation>Durchsucht werden normale Dateien ab 1 KB Größe.</translation>
    </message>
    <message>
        <source>Files smaller than 1 KB are ignored and shown separately in the scan summary.</source>
        <translation>Dateien unter 1 KB werden ignoriert und in der Zusammenfassung gesondert ausgewiesen.</translation>
    </message>
    <message>
        <source>Hidden files and package contents are skipped.</source>
        <translation>Versteckte Dateien und Paketinhalte werden übersprungen.</translation>
    </message>
    <message>
        <source>Symbolic links are not treated as normal files for duplicate cleanup.</source>
        <translation>Symbolische Verknüpfungen gelten bei der Bereinigung nicht als normale Dateien.</translation>
    </message>
    <message>
        <source>Reviewing Individual Files</source>
        <translation>Einzelne Dateien prüfen</translation>
    </message>
    <message>
        <source>Click a filename to open that file in its default application.</source>
        <translation>Klicken Sie auf einen Dateinamen, um die Datei mit ihrer Standardanwendung zu öffnen.</translation>
    </message>
    <message>
        <source>Use the … menu for Open File or Show in Folder.</source>
        <translation>Über das Menü … erreichen Sie „Datei öffnen“ und „In Ordner anzeigen“.</translation>
    </message>
    <message>
        <source>Show in Folder is useful when you want to inspect the surrounding folder before making a decision.</source>
        <translation>„In Ordner anzeigen“ hilft, wenn Sie sich vor einer Entscheidung den umgebenden Ordner ansehen möchten.</translation>
    </message>
    <message>
        <source>Safer Cleanup</source>
        <translation>Sicherere Bereinigung</translation>
    </message>
    <message>
        <source>Nothing is removed automatically. You choose which verified duplicate copies to mark.</source>
        <translation>Nichts wird automatisch entfernt. Sie wählen, welche bestätigten Kopien markiert werden.</translation>
    </message>
    <message>
        <source>Review Cleanup shows the selected files again before cleanup begins.</source>
        <translation>„Bereinigung prüfen“ zeigt die ausgewählten Dateien noch einmal, bevor die Bereinigung beginnt.</translation>
    </message>
    <message>
        <source>Ambrivo moves approved files to the Trash. It does not permanently delete them.</source>
        <translation>Ambrivo verschiebt bestätigte Dateien in den Papierkorb. Sie werden nicht endgültig gelöscht.</translation>
    </message>
    <message>
        <source>At least one copy of a duplicate group must remain.</source>
        <translation>Mindestens eine Kopie jeder Duplikatgruppe muss erhalten bleiben.</translation>
    </message>
    <message>
        <source>Protected Locations</source>
        <translation>Geschützte Orte</translation>
    </message>
    <message>
        <source>System- and application-managed locations are Review Only.</source>
        <translation>Orte, die vom System oder von Anwendungen verwaltet werden, sind „Nur prüfen“.</translation>
    </message>
    <message>
        <source>Examples include System, Library, Applications, private system areas, and your user Library.</source>
        <translation>Beispiele sind System, Library, Applications, private Systembereiche und Ihre Benutzer-Library.</translation>
    </message>
    <message>
        <source>Protected duplicates are still shown so you can inspect them.</source>
        <translation>Geschützte Duplikate werden trotzdem angezeigt, damit Sie sie ansehen können.</translation>
    </message>
    <message>
        <source>Ambrivo will not move protected files to Trash. Use Open File or Show in Folder and make any manual decision yourself.</source>
        <translation>Ambrivo verschiebt geschützte Dateien nicht in den Papierkorb. Verwenden Sie „Datei öffnen“ oder „In Ordner anzeigen“ und entscheiden Sie selbst.</translation>
    </message>
    <message>
        <source>Scan Controls</source>
        <translation>Suche steuern</translation>
    </message>
    <message>
        <source>Stop Scan cancels an active scan safely.</source>
        <translation>„Suche anhalten“ bricht eine laufende Suche sicher ab.</translation>
    </message>
    <message>
        <source>Rescan refreshes results for the selected folder.</source>
        <translation>„Erneut durchsuchen“ aktualisiert die Ergebnisse für den gewählten Ordner.</translation>
    </message>
    <message>
        <source>New Scan returns to the ready screen and opens the folder chooser immediately.</source>
        <translation>„Neue Suche“ kehrt zum Startbildschirm zurück und öffnet sofort die Ordnerauswahl.</translation>
    </message>
    <message>
        <source>Change Folder cancels any active scan before switching locations.</source>
        <translation>„Ordner wechseln“ bricht eine laufende Suche ab, bevor der Ort gewechselt wird.</translation>
    </message>
    <message>
        <source>Privacy &amp; Local Processing</source>
        <translation>Datenschutz &amp; lokale Verarbeitung</translation>
    </message>
    <message>
        <source>Scanning, file-size comparison and SHA-256 verification happen locally on your computer.</source>
        <translation>Durchsuchen, Größenvergleich und SHA-256-Prüfung geschehen lokal auf Ihrem Computer.</translation>
    </message>
    <message>
        <source>Twinsift does not require uploading your source files to Ambrivo.</source>
        <translation>Twinsift muss Ihre Dateien nicht zu Ambrivo hochladen.</translation>
    </message>
    <message>
        <source>Cleanup requires explicit review; the app does not silently alter source files.</source>
        <translation>Die Bereinigung erfordert Ihre ausdrückliche Prüfung; die App verändert Dateien nie stillschweigend.</translation>
    </message>
    <message>
        <source>Current v1 Scope</source>
        <translation>Umfang von v1</translation>
    </message>
    <message>
        <source>Recent Scans is reserved for future local scan-history functionality.</source>
        <translation>„Letzte Suchen“ ist für einen künftigen lokalen Suchverlauf vorgesehen.</translation>
    </message>
    <message>
        <source>Settings is reserved for future preferences and privacy controls.</source>
        <translation>„Einstellungen“ ist für künftige Vorlieben und Datenschutzoptionen vorgesehen.</translation>
    </message>
    <message>
        <source>Similar-file detection is planned but is not part of the v1 cleanup workflow.</source>
        <translation>Die Erkennung ähnlicher Dateien ist geplant, gehört aber nicht zur Bereinigung in v1.</translation>
    </message>
    <message>
        <source>Common Questions</source>
        <translation>Häufige Fragen</translation>
    </message>
    <message>
        <source>Can duplicate files have different names?</source>
        <translation>Können Duplikate unterschiedliche Namen haben?</translation>
    </message>
    <message>
        <source>Yes. Exact duplicates are based on matching file size and matching SHA-256 content hash, not the filename.</source>
        <translation>Ja. Exakte Duplikate beruhen auf gleicher Dateigröße und gleicher SHA-256-Prüfsumme, nicht auf dem Dateinamen.</translation>
    </message>
    <message>
        <source>Why is a file marked Review Only?</source>
        <translation>Warum ist eine Datei als „Nur prüfen“ markiert?</translation>
    </message>
    <message>
        <source>The file is in a system- or application-managed location. Twinsift may show it for awareness, but Ambrivo will not move it to Trash.</source>
        <translation>Die Datei liegt an einem Ort, der vom System oder von einer Anwendung verwaltet wird. Twinsift zeigt sie zur Information an, aber Ambrivo verschiebt sie nicht in den Papierkorb.</translation>
    </message>
    <message>
        <source>What if I am unsure which copy to keep?</source>
        <translation>Was, wenn ich nicht weiß, welche Kopie ich behalten soll?</translation>
    </message>
    <message>
        <source>Open the files or Show them in their folder first. If you are not certain, leave both copies untouched.</source>
        <translation>Öffnen Sie die Dateien oder zeigen Sie sie zuerst in ihrem Ordner an. Wenn Sie unsicher sind, lassen Sie beide Kopien unverändert.</translation>
    </message>
    <message>
        <source>Ambrivo Twinsift · v1 Help</source>
        <translation>Ambrivo Twinsift · Hilfe zu v1</translation>
    </message>
</context>
<context>
    <name>TwinsiftView</name>
    <message>
        <source>Choose a folder to scan</source>
        <translation>Ordner zum Durchsuchen wählen</translation>
    </message>
    <message>
        <source>Scan screen</source>
        <translation>Suchbildschirm</translation>
    </message>
    <message>
        <source>Twinsift</source>
        <translation>Twinsift</translation>
    </message>
    <message>
        <source>Find exact duplicate files without uploading anything.</source>
        <translation>Exakte Duplikate finden, ohne etwas hochzuladen.</translation>
    </message>
    <message>
        <source>Local Processing</source>
        <translation>Lokale Verarbeitung</translation>
    </message>
    <message>
        <source>Private</source>
        <translation>Privat</translation>
    </message>
    <message>
        <source>Your files stay on this computer</source>
        <translation>Ihre Dateien bleiben auf diesem Computer</translation>
    </message>
    <message>
        <source>Review First</source>
        <translation>Erst prüfen</translation>
    </message>
    <message>
        <source>Nothing changes automatically</source>
        <translation>Nichts ändert sich automatisch</translation>
    </message>
    <message>
        <source>Safer Cleanup</source>
        <translation>Sicherere Bereinigung</translation>
    </message>
    <message>
        <source>Move to Trash, not permanent delete</source>
        <translation>Papierkorb statt endgültigem Löschen</translation>
    </message>
    <message>
        <source>Exact Matches</source>
        <translation>Exakte Treffer</translation>
    </message>
    <message>
        <source>Verified with file size and cryptographic hashes.</source>
        <translation>Bestätigt über Dateigröße und kryptografische Prüfsummen.</translation>
    </message>
    <message>
        <source>Review Before Action</source>
        <translation>Prüfen vor dem Handeln</translation>
    </message>
    <message>
        <source>See duplicate groups, paths and reclaimable storage.</source>
        <translation>Duplikatgruppen, Pfade und freizugebenden Speicher sehen.</translation>
    </message>
    <message>
        <source>Local-First</source>
        <translation>Lokal zuerst</translation>
    </message>
    <message>
        <source>Scanning and comparison happen locally on your computer.</source>
        <translation>Suche und Vergleich finden lokal auf Ihrem Computer statt.</translation>
    </message>
</context>
<context>
    <name>twinsift::CleanupJob</name>
    <message>
        <source>Cleanup Complete</source>
        <translation>Bereinigung abgeschlossen</translation>
    </message>
    <message>
        <source>Cleanup Completed with Warnings</source>
        <translation>Bereinigung mit Warnungen abgeschlossen</translation>
    </message>
    <message numerus="yes">
        <source>%n files moved to Trash · %1</source>
        <translation>
            <numerusform>%n Datei in den Papierkorb verschoben · %1</numerusform>
            <numerusform>%n Dateien in den Papierkorb verschoben · %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files could not be moved</source>
        <translation>
            <numerusform>%n Datei konnte nicht verschoben werden</numerusform>
            <numerusform>%n Dateien konnten nicht verschoben werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::CleanupRestorer</name>
    <message>
        <source>Restore Complete</source>
        <translation>Wiederherstellung abgeschlossen</translation>
    </message>
    <message>
        <source>Restore Completed with Warnings</source>
        <translation>Wiederherstellung mit Warnungen abgeschlossen</translation>
    </message>
    <message numerus="yes">
        <source>%n files · %1 go back from the Trash to where they were.</source>
        <translation>
            <numerusform>%n Datei · %1 kommt aus dem Papierkorb an ihren alten Ort zurück.</numerusform>
            <numerusform>%n Dateien · %1 kommen aus dem Papierkorb an ihren alten Ort zurück.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files restored · %1</source>
        <translation>
            <numerusform>%n Datei wiederhergestellt · %1</numerusform>
            <numerusform>%n Dateien wiederhergestellt · %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files could not be restored</source>
        <translation>
            <numerusform>%n Datei konnte nicht wiederhergestellt werden</numerusform>
            <numerusform>%n Dateien konnten nicht wiederhergestellt werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::DuplicateReviewModel</name>
    <message>
        <source>No application is available to open this file.</source>
        <translation>Es ist keine Anwendung zum Öffnen dieser Datei verfügbar.</translation>
    </message>
    <message>
        <source>No file manager is available to show this file.</source>
        <translation>Es ist keine Dateiverwaltung verfügbar, um diese Datei anzuzeigen.</translation>
    </message>
    <message numerus="yes">
        <source>%n files below minimum size ignored</source>
        <translation>
            <numerusform>%n Datei unter der Mindestgröße ignoriert</numerusform>
            <numerusform>%n Dateien unter der Mindestgröße ignoriert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scan finished: %1, %n groups, %2 potential savings</source>
        <translation>
            <numerusform>Suche abgeschlossen: %1, %n Gruppe, %2 mögliche Ersparnis</numerusform>
            <numerusform>Suche abgeschlossen: %1, %n Gruppen, %2 mögliche Ersparnis</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) could not be read — results may be incomplete</source>
        <translation>
            <numerusform>%n Eintrag konnte nicht gelesen werden — die Ergebnisse sind eventuell unvollständig</numerusform>
            <numerusform>%n Einträge konnten nicht gelesen werden — die Ergebnisse sind eventuell unvollständig</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::FolderBrowser</name>
    <message>
        <source>There is no folder at “%1”.</source>
        <translation>Unter „%1“ gibt es keinen Ordner.</translation>
    </message>
    <message>
        <source>You don’t have permission to open “%1”.</source>
        <translation>Sie haben keine Berechtigung, „%1“ zu öffnen.</translation>
    </message>
    <message>
        <source>“%1” could not be opened.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>twinsift::MarkRuleRunner</name>
    <message>
        <source>Choose a folder inside the scanned folder.</source>
        <translation>Wählen Sie einen Ordner innerhalb des durchsuchten Ordners.</translation>
    </message>
    <message numerus="yes">
        <source>Marked %n copies in %1</source>
        <translation>
            <numerusform>%n Kopie markiert in %1</numerusform>
            <numerusform>%n Kopien markiert in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sets</source>
        <translation>
            <numerusform>%n Gruppe</numerusform>
            <numerusform>%n Gruppen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> · %n protected copies left alone</source>
        <translation>
            <numerusform> · %n geschützte Kopie unangetastet</numerusform>
            <numerusform> · %n geschützte Kopien unangetastet</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::RecentScanStore</name>
    <message>
        <source>Recent Scans storage location is unavailable.</source>
        <translation>Der Speicherort für „Letzte Suchen“ ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>Recent Scans history could not be read. New scans can still be recorded locally.</source>
        <translation>Der Verlauf „Letzte Suchen“ konnte nicht gelesen werden. Neue Suchen können weiterhin lokal gespeichert werden.</translation>
    </message>
    <message>
        <source>Recent Scans could not be saved. Current scan results are unaffected.</source>
        <translation>„Letzte Suchen“ konnte nicht gespeichert werden. Die aktuellen Ergebnisse sind davon nicht betroffen.</translation>
    </message>
</context>
<context>
    <name>twinsift::RecentScansModel</name>
    <message>
        <source>No file manager is available to show this folder.</source>
        <translation>Es ist keine Dateiverwaltung verfügbar, um diesen Ordner anzuzeigen.</translation>
    </message>
</context>
<context>
    <name>twinsift::ReviewRowsModel</name>
    <message>
        <source>Review Only</source>
        <translation>Nur prüfen</translation>
    </message>
    <message>
        <source>TRASH</source>
        <translation>PAPIERKORB</translation>
    </message>
    <message>
        <source>KEEP</source>
        <translation>BEHALTEN</translation>
    </message>
    <message>
        <source>Cleanup is enabled only for SHA-256 verified exact duplicates.</source>
        <translation>Bereinigen lassen sich nur SHA-256-geprüfte exakte Duplikate.</translation>
    </message>
    <message>
        <source>Trash this copy. It will be moved to the Trash when cleanup is run.</source>
        <translation>Diese Kopie in den Papierkorb. Sie wird bei der Bereinigung in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <source>Keep this copy. It will remain in place.</source>
        <translation>Diese Kopie behalten. Sie bleibt, wo sie ist.</translation>
    </message>
    <message>
        <source>Full path:</source>
        <translation>Vollständiger Pfad:</translation>
    </message>
</context>
<context>
    <name>twinsift::ReviewTable</name>
    <message numerus="yes">
        <source>%n groups</source>
        <translation>
            <numerusform>%n Gruppe</numerusform>
            <numerusform>%n Gruppen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::ReviewView</name>
    <message>
        <source>Folder paths are visible. Click to turn them off.</source>
        <translation>Ordnerpfade werden angezeigt. Klicken, um sie auszublenden.</translation>
    </message>
    <message>
        <source>Folder paths are hidden. Click to turn them on.</source>
        <translation>Ordnerpfade sind ausgeblendet. Klicken, um sie anzuzeigen.</translation>
    </message>
    <message>
        <source>Search filenames</source>
        <translation>Dateinamen durchsuchen</translation>
    </message>
    <message>
        <source>Search duplicate files</source>
        <translation>Duplikate durchsuchen</translation>
    </message>
    <message>
        <source>Cleanup</source>
        <translation>Bereinigung</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>twinsift::ScanScreenController</name>
    <message>
        <source>This recent-scan folder is no longer available. Choose the folder again to scan it.</source>
        <translation>Der Ordner dieser Suche ist nicht mehr verfügbar. Wählen Sie ihn erneut aus, um ihn zu durchsuchen.</translation>
    </message>
</context>
<context>
    <name>twinsift::SelectionSummary</name>
    <message>
        <source>%1 selected for Trash</source>
        <translation>%1 für den Papierkorb ausgewählt</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 ausgewählt</translation>
    </message>
    <message numerus="yes">
        <source>%n files · %1</source>
        <translation>
            <numerusform>%n Datei · %1</numerusform>
            <numerusform>%n Dateien · %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>twinsift::WebsiteAction</name>
    <message>
        <source>No web browser is available.</source>
        <translation>Es ist kein Webbrowser verfügbar.</translation>
    </message>
</context>
</TS>
