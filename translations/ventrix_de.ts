<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AudioFileRecorder</name>
    <message>
        <source>the audio input is not set up</source>
        <translation>der Audioeingang ist nicht eingerichtet</translation>
    </message>
    <message>
        <source>the recorder is not configured</source>
        <translation>die Aufnahme ist nicht eingerichtet</translation>
    </message>
    <message>
        <source>cannot allocate the capture buffers: out of memory</source>
        <translation>Aufnahmepuffer können nicht angelegt werden: kein Speicher frei</translation>
    </message>
    <message>
        <source>cannot keep up with the audio input: %1 frames dropped, %2 device overflows</source>
        <translation>Audioeingang kann nicht schnell genug gelesen werden: %1 Frames verloren, %2 Geräteüberläufe</translation>
    </message>
</context>
<context>
    <name>DataOutput</name>
    <message>
        <source>Please only select one session</source>
        <translation>Bitte wählen Sie nur eine Trainingseinheit aus</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>DataRowBuilder</name>
    <message>
        <source>Total time</source>
        <translation>Gesamtzeit</translation>
    </message>
    <message>
        <source>Ride time</source>
        <translation>Fahrzeit</translation>
    </message>
    <message>
        <source>Average HR</source>
        <translation>Ø HF</translation>
    </message>
    <message>
        <source>Maximum HR</source>
        <translation>Max. HF</translation>
    </message>
    <message>
        <source>Calories</source>
        <translation>Kalorien</translation>
    </message>
    <message>
        <source>%@ kcal</source>
        <translation>%@ kcal</translation>
    </message>
    <message>
        <source>Total distance</source>
        <translation>Gesamtstrecke</translation>
    </message>
    <message>
        <source>Maximum speed</source>
        <translation>Max. Geschwindigkeit</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>U/min</translation>
    </message>
    <message>
        <source>Average cadence</source>
        <translation>Ø Trittfrequenz</translation>
    </message>
    <message>
        <source>Maximum cadence</source>
        <translation>Max. Trittfrequenz</translation>
    </message>
    <message>
        <source>Sport Zones</source>
        <translation>Sportzonen</translation>
    </message>
    <message>
        <source>Zone %d  (%d-%d%%)</source>
        <translation>Zone %d  (%d-%d%%)</translation>
    </message>
    <message>
        <source>Zone %d  (%.1f-%.1f %@)</source>
        <translation>Zone %d  (%.1f-%.1f %@)</translation>
    </message>
    <message>
        <source>Sport Zone %@</source>
        <translation>Sportzone %@</translation>
    </message>
    <message>
        <source>Zone %d  (%@-%@)</source>
        <translation>Zone %d  (%@-%@)</translation>
    </message>
    <message>
        <source>Lap %d</source>
        <translation>Runde %d</translation>
    </message>
    <message>
        <source>Time in lap</source>
        <translation>Rundenzeit</translation>
    </message>
    <message>
        <source>End HR</source>
        <translation>HF am Ende</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Average speed</source>
        <translation>Ø Geschwindigkeit</translation>
    </message>
    <message>
        <source>End speed</source>
        <translation>Endgeschwindigkeit</translation>
    </message>
    <message>
        <source>Average pace</source>
        <translation>Ø Pace</translation>
    </message>
    <message>
        <source>Maximum pace</source>
        <translation>Beste Pace</translation>
    </message>
    <message>
        <source>End pace</source>
        <translation>Pace am Ende</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>Noisy: check the values</source>
        <translation>Verrauscht: Werte prüfen</translation>
    </message>
</context>
<context>
    <name>DataView</name>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Pace</source>
        <translation>Pace</translation>
    </message>
    <message>
        <source>Session details</source>
        <translation>Details der Trainingseinheit</translation>
    </message>
    <message>
        <source>Heart rate in beats per minute</source>
        <translation>Herzfrequenz in Schlägen pro Minute</translation>
    </message>
    <message>
        <source>Heart rate in percent of the maximum heart rate</source>
        <translation>Herzfrequenz in Prozent der maximalen Herzfrequenz</translation>
    </message>
    <message>
        <source>Heart rate unit</source>
        <translation>Einheit der Herzfrequenz</translation>
    </message>
    <message>
        <source>Speed or pace</source>
        <translation>Geschwindigkeit oder Pace</translation>
    </message>
    <message>
        <source>&amp;bpm</source>
        <translation>S/&amp;min</translation>
    </message>
    <message>
        <source>&amp;%</source>
        <translation>&amp;%</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Geschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Pace</source>
        <translation>&amp;Pace</translation>
    </message>
</context>
<context>
    <name>DataWindow</name>
    <message>
        <source>Session</source>
        <translation>Trainingseinheit</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Strecke:</translation>
    </message>
    <message>
        <source>Total time:</source>
        <translation>Gesamtzeit:</translation>
    </message>
    <message>
        <source>Heart rate:</source>
        <translation>Herzfrequenz:</translation>
    </message>
    <message>
        <source>Calories:</source>
        <translation>Kalorien:</translation>
    </message>
</context>
<context>
    <name>DecodeReport</name>
    <message>
        <source>1 session</source>
        <translation>1 Trainingseinheit</translation>
    </message>
    <message>
        <source>%1 sessions</source>
        <translation>%1 Trainingseinheiten</translation>
    </message>
    <message>
        <source>Stored %1 from %2.</source>
        <translation>%1 aus %2 gespeichert.</translation>
    </message>
    <message>
        <source>Stored %1.</source>
        <translation>%1 gespeichert.</translation>
    </message>
    <message>
        <source>%1 already stored.</source>
        <translation>%1 bereits gespeichert.</translation>
    </message>
    <message>
        <source>No new sessions.</source>
        <translation>Keine neuen Trainingseinheiten.</translation>
    </message>
    <message>
        <source>Nothing could be read from %1</source>
        <translation>Aus %1 konnte nichts gelesen werden</translation>
    </message>
    <message>
        <source>Nothing could be read from %1 files.</source>
        <translation>Aus %1 Dateien konnte nichts gelesen werden.</translation>
    </message>
    <message>
        <source>The transfer could only be read after noise correction.</source>
        <translation>Die Übertragung konnte erst nach einer Rauschkorrektur gelesen werden.</translation>
    </message>
    <message>
        <source>Exported %1.</source>
        <translation>Exportiert: %1.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>The transfer was noisy: some values may be wrong. Hold the watch closer and transfer again.</source>
        <translation>Die Übertragung war verrauscht: Einige Werte können falsch sein. Halten Sie die Uhr näher heran und übertragen Sie erneut.</translation>
    </message>
</context>
<context>
    <name>HistoryPane</name>
    <message>
        <source>Calories</source>
        <translation>Kalorien</translation>
    </message>
    <message>
        <source>Total time of each session as a bar</source>
        <translation>Gesamtzeit jeder Trainingseinheit als Balken</translation>
    </message>
    <message>
        <source>Average heart rate</source>
        <translation>Durchschnittliche Herzfrequenz</translation>
    </message>
    <message>
        <source>Total distance</source>
        <translation>Gesamtstrecke</translation>
    </message>
    <message>
        <source>Calendar layers</source>
        <translation>Kalenderebenen</translation>
    </message>
    <message>
        <source>History calendar</source>
        <translation>Trainingskalender</translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation>&amp;Zeit</translation>
    </message>
    <message>
        <source>&amp;Heart Rate</source>
        <translation>&amp;Herzfrequenz</translation>
    </message>
    <message>
        <source>&amp;Distance</source>
        <translation>&amp;Strecke</translation>
    </message>
    <message>
        <source>&amp;Calories</source>
        <translation>&amp;Kalorien</translation>
    </message>
</context>
<context>
    <name>HistoryView</name>
    <message>
        <source>History calendar</source>
        <translation>Trainingskalender</translation>
    </message>
    <message>
        <source>One column per day; left and right arrows choose a session, Return opens it</source>
        <translation>Eine Spalte pro Tag; die Pfeiltasten links und rechts wählen eine Trainingseinheit, die Eingabetaste öffnet sie</translation>
    </message>
    <message>
        <source>%1 bpm</source>
        <translation>%1 S/min</translation>
    </message>
    <message>
        <source>%1 kcal</source>
        <translation>%1 kcal</translation>
    </message>
    <message>
        <source>Reset Colours</source>
        <translation>Farben zurücksetzen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ventrix</source>
        <translation>Ventrix</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Import Recording...</source>
        <translation>Aufnahme &amp;importieren …</translation>
    </message>
    <message>
        <source>&amp;Export Session...</source>
        <translation>Trainingseinheit &amp;exportieren …</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Export Session as &amp;TCX...</source>
        <translation>Trainingseinheit als &amp;TCX exportieren …</translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>Einstellu&amp;ngen …</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>Ctrl+H</source>
        <translation>Ctrl+H</translation>
    </message>
    <message>
        <source>U&amp;nhide</source>
        <translation>Ei&amp;nblenden</translation>
    </message>
    <message>
        <source>Ctrl+Shift+H</source>
        <translation>Ctrl+Shift+H</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Click here to record the data from your Polar.
Click again to stop.</source>
        <translation>Klicken Sie hier, um die Daten Ihrer Polar aufzunehmen.
Erneut klicken beendet die Aufnahme.</translation>
    </message>
    <message>
        <source>Shortcut: %1</source>
        <translation>Tastenkürzel: %1</translation>
    </message>
    <message>
        <source>Record the transfer of your watch</source>
        <translation>Die Übertragung Ihrer Uhr aufnehmen</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Starts or stops recording a transfer from the watch</source>
        <translation>Startet oder beendet die Aufnahme einer Übertragung der Uhr</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Trainingseinheiten</translation>
    </message>
    <message>
        <source>Start Recording</source>
        <translation>Aufnahme starten</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Aufnahme beenden</translation>
    </message>
    <message>
        <source>no audio input is available</source>
        <translation>kein Audioeingang verfügbar</translation>
    </message>
    <message>
        <source>Import Recording</source>
        <translation>Aufnahme importieren</translation>
    </message>
    <message>
        <source>Recordings (*.wav *.aif *.aiff *.flac *.ogg *.oga *.opus *.mp3);;All files (*)</source>
        <translation>Aufnahmen (*.wav *.aif *.aiff *.flac *.ogg *.oga *.opus *.mp3);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>not a .wav file</source>
        <translation>keine .wav-Datei</translation>
    </message>
    <message>
        <source>Mark as &amp;Checked</source>
        <translation>Als &amp;geprüft markieren</translation>
    </message>
    <message>
        <source>Clear the noisy-transfer mark once you have checked the values</source>
        <translation>Die Markierung einer verrauschten Übertragung entfernen, nachdem Sie die Werte geprüft haben</translation>
    </message>
    <message>
        <source>Cannot record from the default audio input: %1</source>
        <translation>Aufnahme vom Standard-Audioeingang nicht möglich: %1</translation>
    </message>
    <message>
        <source>Mark as Checked</source>
        <translation>Als geprüft markieren</translation>
    </message>
</context>
<context>
    <name>ObjectContext</name>
    <message>
        <source>Insert Session</source>
        <translation>Trainingseinheit einfügen</translation>
    </message>
    <message>
        <source>Delete Session</source>
        <translation>Trainingseinheit löschen</translation>
    </message>
    <message>
        <source>Delete Sessions</source>
        <translation>Trainingseinheiten löschen</translation>
    </message>
    <message>
        <source>Change Session</source>
        <translation>Trainingseinheit ändern</translation>
    </message>
    <message>
        <source>Hide Session</source>
        <translation>Trainingseinheit ausblenden</translation>
    </message>
    <message>
        <source>Unhide Session</source>
        <translation>Trainingseinheit einblenden</translation>
    </message>
    <message>
        <source>Change Comment</source>
        <translation>Kommentar ändern</translation>
    </message>
    <message>
        <source>Rename Session</source>
        <translation>Trainingseinheit umbenennen</translation>
    </message>
    <message>
        <source>Change Distance</source>
        <translation>Strecke ändern</translation>
    </message>
    <message>
        <source>Hide Sessions</source>
        <translation>Trainingseinheiten ausblenden</translation>
    </message>
    <message>
        <source>Unhide Sessions</source>
        <translation>Trainingseinheiten einblenden</translation>
    </message>
</context>
<context>
    <name>PortAudioCaptureSource</name>
    <message>
        <source>the audio input is already open</source>
        <translation>der Audioeingang ist bereits geöffnet</translation>
    </message>
    <message>
        <source>no audio input device</source>
        <translation>kein Audioeingabegerät</translation>
    </message>
    <message>
        <source>the audio input is not open</source>
        <translation>der Audioeingang ist nicht geöffnet</translation>
    </message>
    <message>
        <source>cannot initialize the audio system</source>
        <translation>das Audiosystem kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>cannot open the audio input device &quot;%1&quot;: it delivers no float samples at %2 Hz, 44100 Hz or 48000 Hz</source>
        <translation>das Audioeingabegerät „%1“ kann nicht geöffnet werden: es liefert keine Gleitkomma-Samples mit %2 Hz, 44100 Hz oder 48000 Hz</translation>
    </message>
    <message>
        <source>cannot open the audio input device &quot;%1&quot;</source>
        <translation>das Audioeingabegerät „%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>cannot start the audio input</source>
        <translation>der Audioeingang kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>cannot stop the audio input</source>
        <translation>der Audioeingang kann nicht angehalten werden</translation>
    </message>
</context>
<context>
    <name>Preferences</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>First day of the week:</source>
        <translation>Erster Tag der Woche:</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <source>&amp;Check for updates at startup</source>
        <translation>Beim Start nach &amp;Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>&amp;Stop recording when the transfer ends</source>
        <translation>Aufnahme am &amp;Ende der Übertragung beenden</translation>
    </message>
    <message>
        <source>Automatic export folder:</source>
        <translation>Ordner für automatischen Export:</translation>
    </message>
    <message>
        <source>No automatic export</source>
        <translation>Kein automatischer Export</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>History colours</source>
        <translation>Farben im Trainingskalender</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>Selected time:</source>
        <translation>Ausgewählte Zeit:</translation>
    </message>
    <message>
        <source>Heart rate:</source>
        <translation>Herzfrequenz:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Strecke:</translation>
    </message>
    <message>
        <source>Calories:</source>
        <translation>Kalorien:</translation>
    </message>
    <message>
        <source>&amp;Reset Colours</source>
        <translation>Farben &amp;zurücksetzen</translation>
    </message>
</context>
<context>
    <name>PreferencesWindowController</name>
    <message>
        <source>Automatic Export Folder</source>
        <translation>Ordner für automatischen Export</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Exported %1</source>
        <translation>%1 exportiert</translation>
    </message>
</context>
<context>
    <name>RecordingStatus</name>
    <message>
        <source>Input level</source>
        <translation>Eingangspegel</translation>
    </message>
    <message>
        <source>Recording %1</source>
        <translation>Aufnahme %1</translation>
    </message>
    <message>
        <source>The signal is clipping – hold the watch a little further away</source>
        <translation>Das Signal übersteuert – halten Sie die Uhr etwas weiter weg</translation>
    </message>
    <message>
        <source>Receiving… %1 bytes</source>
        <translation>Empfang läuft … %1 Bytes</translation>
    </message>
    <message>
        <source>The microphone is very quiet – check the input level</source>
        <translation>Das Mikrofon ist sehr leise – prüfen Sie den Eingangspegel</translation>
    </message>
    <message>
        <source>Waiting for the watch – hold it close to the microphone</source>
        <translation>Warte auf die Uhr – halten Sie sie nah ans Mikrofon</translation>
    </message>
</context>
<context>
    <name>RecordingWriter</name>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot resample %1 Hz to %2 Hz: %3</source>
        <translation>%1 Hz können nicht in %2 Hz umgerechnet werden: %3</translation>
    </message>
</context>
<context>
    <name>SaveOptions</name>
    <message>
        <source>Dates:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Times with tenths of a second</source>
        <translation>Zeiten mit Zehntelsekunden</translation>
    </message>
    <message>
        <source>Paces with tenths of a second</source>
        <translation>Pace mit Zehntelsekunden</translation>
    </message>
</context>
<context>
    <name>SessionTableModel</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Total time</source>
        <translation>Gesamtzeit</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Average HR</source>
        <translation>Ø HF</translation>
    </message>
    <message>
        <source>Calories</source>
        <translation>Kalorien</translation>
    </message>
    <message>
        <source>Noisy transfer: check the values</source>
        <translation>Verrauschte Übertragung: Werte prüfen</translation>
    </message>
</context>
<context>
    <name>SportZoneView</name>
    <message>
        <source>Zone chart</source>
        <translation>Zonendiagramm</translation>
    </message>
    <message>
        <source>Time the selected session spent in each heart-rate zone</source>
        <translation>Zeit der ausgewählten Trainingseinheit in jeder Herzfrequenzzone</translation>
    </message>
    <message>
        <source>In zone</source>
        <translation>In Zone</translation>
    </message>
    <message>
        <source>Zone %1</source>
        <translation>Zone %1</translation>
    </message>
    <message>
        <source>Below</source>
        <translation>Darunter</translation>
    </message>
    <message>
        <source>Above</source>
        <translation>Darüber</translation>
    </message>
</context>
<context>
    <name>TransferImporter</name>
    <message>
        <source>Import Transfer</source>
        <translation>Übertragung importieren</translation>
    </message>
</context>
<context>
    <name>VXDataWindow</name>
    <message>
        <source>Session</source>
        <translation>Trainingseinheit</translation>
    </message>
</context>
<context>
    <name>VXDataWindowController</name>
    <message>
        <source>%1 bpm (max %2)</source>
        <translation>%1 S/min (max. %2)</translation>
    </message>
    <message>
        <source>%1 kcal</source>
        <translation>%1 kcal</translation>
    </message>
</context>
<context>
    <name>VXDistanceFormatter</name>
    <message>
        <source>The distance must be a number.</source>
        <translation>Die Strecke muss eine Zahl sein.</translation>
    </message>
    <message>
        <source>The distance cannot be negative.</source>
        <translation>Die Strecke darf nicht negativ sein.</translation>
    </message>
    <message>
        <source>The distance is too large.</source>
        <translation>Die Strecke ist zu groß.</translation>
    </message>
</context>
<context>
    <name>VXSavePanel</name>
    <message>
        <source>Export Session</source>
        <translation>Trainingseinheit exportieren</translation>
    </message>
    <message>
        <source>Date MM/DD/YYYY</source>
        <translation>Datum MM/TT/JJJJ</translation>
    </message>
    <message>
        <source>Date DD/MM/YYYY</source>
        <translation>Datum TT/MM/JJJJ</translation>
    </message>
</context>
<context>
    <name>VXUnits</name>
    <message>
        <source>%.3f km</source>
        <translation>%.3f km</translation>
    </message>
    <message>
        <source>%.2f mi</source>
        <translation>%.2f mi</translation>
    </message>
    <message>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>mph</source>
        <translation>mph</translation>
    </message>
    <message>
        <source>min/km</source>
        <translation>min/km</translation>
    </message>
    <message>
        <source>min/mi</source>
        <translation>min/mi</translation>
    </message>
</context>
<context>
    <name>Ventrix_AppDelegate</name>
    <message>
        <source>Could not save changes while quitting. Quit anyway?</source>
        <translation>Die Änderungen konnten beim Beenden nicht gespeichert werden. Trotzdem beenden?</translation>
    </message>
    <message>
        <source>Quit anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
