<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr_FR">
<context>
    <name>FrameMeaning</name>
    <message>
        <source>du registre %1 %2</source>
        <translation>of register %1 %2</translation>
    </message>
    <message>
        <source>des registres %1 %2 à %3</source>
        <translation>of registers %1 %2 to %3</translation>
    </message>
    <message>
        <source>de maintien</source>
        <translation>holding</translation>
    </message>
    <message>
        <source>écriture %1</source>
        <translation>write %1</translation>
    </message>
    <message>
        <source>%1 : %2 (valeurs envoyées octet de poids faible en premier)</source>
        <translation>%1: %2 (values sent low byte first)</translation>
    </message>
    <message>
        <source>requête trop courte</source>
        <translation>request too short</translation>
    </message>
    <message>
        <source>lecture %1</source>
        <translation>read %1</translation>
    </message>
    <message>
        <source>d&apos;entrée</source>
        <translation>input</translation>
    </message>
    <message>
        <source>écriture du registre %1 : %2</source>
        <translation>write of register %1: %2</translation>
    </message>
    <message>
        <source>fonction %1</source>
        <translation>function %1</translation>
    </message>
    <message>
        <source>exception 1 : fonction illégale</source>
        <translation>exception 1: illegal function</translation>
    </message>
    <message>
        <source>exception 2 : adresse illégale</source>
        <translation>exception 2: illegal data address</translation>
    </message>
    <message>
        <source>exception 3 : valeur illégale</source>
        <translation>exception 3: illegal data value</translation>
    </message>
    <message>
        <source>exception 4 : défaillance de l&apos;esclave</source>
        <translation>exception 4: slave device failure</translation>
    </message>
    <message>
        <source>exception %1</source>
        <translation>exception %1</translation>
    </message>
    <message>
        <source>réponse : %1</source>
        <translation>answer: %1</translation>
    </message>
    <message>
        <source>réponse : 1 registre</source>
        <translation>answer: 1 register</translation>
    </message>
    <message>
        <source>réponse : %1 registres</source>
        <translation>answer: %1 registers</translation>
    </message>
    <message>
        <source>%1 (fonction %2)</source>
        <translation>%1 (function %2)</translation>
    </message>
    <message>
        <source>réponse d&apos;écriture trop courte</source>
        <translation>write answer too short</translation>
    </message>
    <message>
        <source>réponse : registre %1 écrit</source>
        <translation>answer: register %1 written</translation>
    </message>
    <message>
        <source>réponse : registres %1 à %2 écrits</source>
        <translation>answer: registers %1 to %2 written</translation>
    </message>
    <message>
        <source>réponse de la fonction %1</source>
        <translation>answer of function %1</translation>
    </message>
    <message>
        <source>trame vide</source>
        <translation>empty frame</translation>
    </message>
    <message>
        <source>trame trop courte</source>
        <translation>frame too short</translation>
    </message>
    <message>
        <source>esclave %1, </source>
        <translation>slave %1, </translation>
    </message>
    <message>
        <source> (texte coupé)</source>
        <translation> (text cut)</translation>
    </message>
    <message>
        <source> (CRC faux)</source>
        <translation> (bad CRC)</translation>
    </message>
</context>
<context>
    <name>RegisterMeaning</name>
    <message>
        <source>registre %1 (étalonnage) : %2</source>
        <translation>register %1 (calibration): %2</translation>
    </message>
    <message>
        <source>registre %1 : %2</source>
        <translation>register %1: %2</translation>
    </message>
    <message>
        <source>valeur générée brute %1</source>
        <translation>output value raw %1</translation>
    </message>
    <message>
        <source>valeur générée %1</source>
        <translation>output value %1</translation>
    </message>
    <message>
        <source>gamme %1 (inconnue)</source>
        <translation>range %1 (unknown)</translation>
    </message>
    <message>
        <source>gamme %1 (%2)</source>
        <translation>range %1 (%2)</translation>
    </message>
    <message>
        <source>alimentation de boucle %1 (marche)</source>
        <translation>loop power %1 (on)</translation>
    </message>
    <message>
        <source>alimentation de boucle %1 (arrêt)</source>
        <translation>loop power %1 (off)</translation>
    </message>
    <message>
        <source>langue %1 (français)</source>
        <translation>language %1 (French)</translation>
    </message>
    <message>
        <source>langue %1 (anglais)</source>
        <translation>language %1 (English)</translation>
    </message>
    <message>
        <source>langue %1 (inconnue)</source>
        <translation>language %1 (unknown)</translation>
    </message>
    <message>
        <source>mémoire %1 (%2) %3</source>
        <translation>memory %1 (%2) %3</translation>
    </message>
    <message>
        <source>t%1 %2 s</source>
        <translation>t%1 %2 s</translation>
    </message>
    <message>
        <source>L%1 brut %2</source>
        <translation>L%1 raw %2</translation>
    </message>
    <message>
        <source>L%1 %2 %</source>
        <translation>L%1 %2 %</translation>
    </message>
    <message>
        <source>D %1 s</source>
        <translation>D %1 s</translation>
    </message>
    <message>
        <source>Rep %1</source>
        <translation>Rep %1</translation>
    </message>
    <message>
        <source>pleine échelle utilisateur %1</source>
        <translation>user full scale %1</translation>
    </message>
    <message>
        <source>zéro utilisateur %1</source>
        <translation>user zero %1</translation>
    </message>
    <message>
        <source>filtre %1 (%2)</source>
        <translation>filter %1 (%2)</translation>
    </message>
    <message>
        <source>format utilisateur %1 (&quot;%2&quot;)</source>
        <translation>user format %1 (&quot;%2&quot;)</translation>
    </message>
    <message>
        <source>décimales %1 (&quot;%2&quot;)</source>
        <translation>decimals %1 (&quot;%2&quot;)</translation>
    </message>
    <message>
        <source>mesure brute %1</source>
        <translation>measurement raw %1</translation>
    </message>
    <message>
        <source>mesure Dep+</source>
        <translation>measurement Dep+</translation>
    </message>
    <message>
        <source>mesure Dep-</source>
        <translation>measurement Dep-</translation>
    </message>
    <message>
        <source>mesure %1 %2</source>
        <translation>measurement %1 %2</translation>
    </message>
</context>
<context>
    <name>vadero::Application</name>
    <message>
        <source>Erreur inconnue</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>vadero::CheckFields</name>
    <message>
        <source>Source : le calibrateur génère</source>
        <translation>Source: the calibrator generates</translation>
    </message>
    <message>
        <source>Mesure : le calibrateur mesure</source>
        <translation>Measure: the calibrator measures</translation>
    </message>
    <message>
        <source>Montée puis descente</source>
        <translation>Up then down</translation>
    </message>
    <message>
        <source>Avant réglage</source>
        <translation>As found</translation>
    </message>
    <message>
        <source>Après réglage</source>
        <translation>As left</translation>
    </message>
    <message>
        <source>la valeur basse</source>
        <translation>the lower value</translation>
    </message>
    <message>
        <source>la valeur haute</source>
        <translation>the upper value</translation>
    </message>
    <message>
        <source>la tolérance</source>
        <translation>the tolerance</translation>
    </message>
    <message>
        <source>la stabilisation</source>
        <translation>the dwell</translation>
    </message>
    <message>
        <source>le nombre de mesures</source>
        <translation>the number of measurements</translation>
    </message>
    <message>
        <source>Instrument</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>Repère</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>à</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Étendue</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Technicien</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>Étape</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>Vérification</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Points (%)</source>
        <translation>Points (%)</translation>
    </message>
    <message>
        <source>Tolérance (%)</source>
        <translation>Tolerance (%)</translation>
    </message>
    <message>
        <source>Stabilisation (s)</source>
        <translation>Dwell (s)</translation>
    </message>
    <message>
        <source>Mesures par point</source>
        <translation>Measurements per point</translation>
    </message>
    <message>
        <source>Points : « %1 » n&apos;est pas un nombre (séparer les points par « ; »), les points restent %2</source>
        <translation>Points: &quot;%1&quot; is no number (separate the points with &quot;;&quot;), the points stay %2</translation>
    </message>
    <message>
        <source>Points : %1 donnés, de 1 à %2 tiennent sur le rapport ; les points restent %3</source>
        <translation>Points: %1 given, from 1 to %2 fit the record; the points stay %3</translation>
    </message>
    <message>
        <source>Le repère de l&apos;instrument est vide : le taper d&apos;abord.</source>
        <translation>The instrument&apos;s tag is empty: type it first.</translation>
    </message>
    <message>
        <source>L&apos;unité de l&apos;instrument est vide : la taper d&apos;abord.</source>
        <translation>The instrument&apos;s unit is empty: type it first.</translation>
    </message>
    <message>
        <source>L&apos;étendue de l&apos;instrument est vide : ses valeurs basse et haute sont égales.</source>
        <translation>The instrument&apos;s range is empty: its lower and upper values are equal.</translation>
    </message>
    <message>
        <source>Vérification refusée : %1</source>
        <translation>Check refused: %1</translation>
    </message>
</context>
<context>
    <name>vadero::CompareDialog</name>
    <message>
        <source>Comparer avec un fichier</source>
        <translation>Compare with a file</translation>
    </message>
    <message>
        <source>Fichier : %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Aucune différence</source>
        <translation>No difference</translation>
    </message>
    <message numerus="yes">
        <source>%n paramètre(s) diffèrent</source>
        <translation>
            <numerusform>%n parameter differs</numerusform>
            <numerusform>%n parameters differ</numerusform>
        </translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Paramètre</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Valeur dans le fichier</source>
        <translation>Value in the file</translation>
    </message>
    <message>
        <source>Valeur dans la fenêtre</source>
        <translation>Value in the window</translation>
    </message>
</context>
<context>
    <name>vadero::DemoPanel</name>
    <message>
        <source>Calibrateur LCX3 émulé</source>
        <translation>Emulated LCX3 calibrator</translation>
    </message>
    <message>
        <source>Appareil</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>USB N°</source>
        <translation>USB No. </translation>
    </message>
    <message>
        <source>Entrée mesurée (% gamme)</source>
        <translation>Measured input (% of range)</translation>
    </message>
    <message>
        <source>Valeur générée</source>
        <translation>Output value</translation>
    </message>
    <message>
        <source>Registres</source>
        <translation>Registers</translation>
    </message>
    <message>
        <source>Débrancher</source>
        <translation>Unplug</translation>
    </message>
    <message>
        <source>Brancher</source>
        <translation>Plug in</translation>
    </message>
    <message>
        <source>Éteindre</source>
        <translation>Switch off</translation>
    </message>
    <message>
        <source>Allumer</source>
        <translation>Switch on</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Branché</source>
        <translation>Plugged in</translation>
    </message>
    <message>
        <source>Débranché</source>
        <translation>Unplugged</translation>
    </message>
    <message>
        <source>allumé</source>
        <translation>on</translation>
    </message>
    <message>
        <source>éteint</source>
        <translation>off</translation>
    </message>
</context>
<context>
    <name>vadero::ErrorPlot</name>
    <message>
        <source>Écart en % de l&apos;étendue selon le point nominal</source>
        <translation>Error in % of span against the nominal point</translation>
    </message>
</context>
<context>
    <name>vadero::FileMessages</name>
    <message>
        <source>de %1 à %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>%1 ne peut pas être lu : %2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 est un dossier, pas un fichier de paramètres.</source>
        <translation>%1 is a folder, not a parameter file.</translation>
    </message>
    <message>
        <source>%1 n&apos;est pas un fichier ordinaire.</source>
        <translation>%1 is not a regular file.</translation>
    </message>
    <message>
        <source>%1 est trop grand pour un fichier de paramètres.</source>
        <translation>%1 is too large for a parameter file.</translation>
    </message>
    <message>
        <source>%1 est vide.</source>
        <translation>%1 is empty.</translation>
    </message>
    <message>
        <source>Ce n&apos;est pas un document JSON : le texte n&apos;en suit plus la syntaxe à l&apos;octet %1.</source>
        <translation>This is not a JSON document: the text stops following its syntax at byte %1.</translation>
    </message>
    <message>
        <source>La clé « %1 » figure deux fois dans un même objet.</source>
        <translation>The key &quot;%1&quot; appears twice in one object.</translation>
    </message>
    <message>
        <source>Ce n&apos;est pas un fichier de paramètres : il n&apos;a pas le tableau « holding » des %1 registres.</source>
        <translation>This is not a parameter file: it has no &quot;holding&quot; array of the %1 registers.</translation>
    </message>
    <message>
        <source>Le tableau « holding » a %1 registres au lieu de %2.</source>
        <translation>The &quot;holding&quot; array has %1 registers instead of %2.</translation>
    </message>
    <message>
        <source>Le registre %1 n&apos;est jamais lu ni écrit : il doit valoir null.</source>
        <translation>Register %1 is never read nor written: it must be null.</translation>
    </message>
    <message>
        <source>Le registre %1 n&apos;est pas un entier de 0 à 65535.</source>
        <translation>Register %1 is not an integer from 0 to 65535.</translation>
    </message>
    <message>
        <source>%1 vaut %2, ce qu&apos;aucun calibrateur ne contient (valeurs possibles : %3).</source>
        <translation>%1 is %2, which no calibrator holds (possible values: %3).</translation>
    </message>
    <message>
        <source>Le champ « %1 » ne correspond pas au tableau « holding », seul écrit dans le calibrateur : corriger « holding ».</source>
        <translation>The field &quot;%1&quot; disagrees with the &quot;holding&quot; array, the only one written to the calibrator: correct &quot;holding&quot;.</translation>
    </message>
    <message>
        <source>%1 vaut %2, au-delà de ce que la fenêtre écrit (%3) ; ouvert tel quel.</source>
        <translation>%1 is %2, beyond what the window writes (%3); opened as it is.</translation>
    </message>
</context>
<context>
    <name>vadero::LoopCheck</name>
    <message>
        <source>Point %1 sur %2</source>
        <translation>Point %1 of %2</translation>
    </message>
    <message>
        <source>Retour de la sortie à %1 %2, la valeur basse de la boucle</source>
        <translation>Output back to %1 %2, the loop&apos;s lower value</translation>
    </message>
    <message>
        <source>%1 : %2 %3 générés ; taper la lecture de %4 (%5) dans sa ligne, puis Entrée</source>
        <translation>%1: %2 %3 generated; type the reading of %4 (%5) in its row, then Enter</translation>
    </message>
    <message>
        <source>%1 : appliquer %2 %3 à %4 ; taper l&apos;entrée appliquée (%3) dans sa ligne, puis Entrée</source>
        <translation>%1: apply %2 %3 to %4; type the input applied (%3) in its row, then Enter</translation>
    </message>
    <message>
        <source>%1 : stabilisation, encore %2 s</source>
        <translation>%1: settling, %2 s more</translation>
    </message>
    <message>
        <source>%1 : mesure %2 sur %3</source>
        <translation>%1: measurement %2 of %3</translation>
    </message>
    <message>
        <source>%1 : génération de %2 %3</source>
        <translation>%1: generating %2 %3</translation>
    </message>
    <message>
        <source>Vérification terminée : %1 points sur %2 dans la tolérance.</source>
        <translation>Check finished: %1 of %2 points within tolerance.</translation>
    </message>
    <message>
        <source>Vérification arrêtée : %1 points relevés sur %2.</source>
        <translation>Check stopped: %1 of %2 points taken.</translation>
    </message>
    <message>
        <source>Pas de réponse du calibrateur : vérification incomplète, %1 points relevés sur %2.</source>
        <translation>No answer from the calibrator: check incomplete, %1 of %2 points taken.</translation>
    </message>
    <message>
        <source>Calibrateur déconnecté : vérification incomplète, %1 points relevés sur %2.</source>
        <translation>Calibrator disconnected: check incomplete, %1 of %2 points taken.</translation>
    </message>
    <message>
        <source>Le calibrateur tient la valeur brute %1 au lieu des %2 envoyés : vérification incomplète.</source>
        <translation>The calibrator holds the raw value %1, not the %2 sent: check incomplete.</translation>
    </message>
    <message>
        <source>Un autre transfert a pris la place de celui de la vérification : vérification incomplète.</source>
        <translation>Another transfer took the place of the check&apos;s: check incomplete.</translation>
    </message>
    <message>
        <source>Une vérification en source d&apos;une boucle %1 se fait dans la gamme « %2 », et le calibrateur est en « %3 » : choisir « %2 » sur la page « Principal » et l&apos;écrire d&apos;abord.</source>
        <translation>A source check of a %1 loop runs in the range &quot;%2&quot;, and the calibrator is in &quot;%3&quot;: choose &quot;%2&quot; on the &quot;Principal&quot; page and write it first.</translation>
    </message>
    <message>
        <source>Une vérification en mesure d&apos;une boucle %1 se fait dans la gamme « %2 », et le calibrateur est en « %3 » : choisir « %2 » sur la page « Principal » et l&apos;écrire d&apos;abord.</source>
        <translation>A measure check of a %1 loop runs in the range &quot;%2&quot;, and the calibrator is in &quot;%3&quot;: choose &quot;%2&quot; on the &quot;Principal&quot; page and write it first.</translation>
    </message>
    <message>
        <source>Le point %1 % vaut %2 %3, hors des %4 à %5 %3 que le calibrateur génère en « %6 ».</source>
        <translation>The point %1 % is %2 %3, outside the %4 to %5 %3 the calibrator generates in &quot;%6&quot;.</translation>
    </message>
    <message>
        <source>Le point %1 % vaut %2 %3, hors des %4 à %5 %3 que le calibrateur mesure en « %6 ».</source>
        <translation>The point %1 % is %2 %3, outside the %4 to %5 %3 the calibrator measures in &quot;%6&quot;.</translation>
    </message>
    <message>
        <source> La sortie est à %1 %2, la valeur basse de la boucle.</source>
        <translation> The output is at %1 %2, the loop&apos;s lower value.</translation>
    </message>
    <message>
        <source> La sortie n&apos;a pas pu être ramenée à la valeur basse de la boucle.</source>
        <translation> The output could not be brought back to the loop&apos;s lower value.</translation>
    </message>
    <message>
        <source>CONFORME</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>NON CONFORME</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>INCOMPLET</source>
        <translation>INCOMPLETE</translation>
    </message>
    <message>
        <source>montée</source>
        <translation>up</translation>
    </message>
    <message>
        <source>descente</source>
        <translation>down</translation>
    </message>
    <message>
        <source>conforme</source>
        <translation>pass</translation>
    </message>
    <message>
        <source>HORS TOL.</source>
        <translation>FAIL</translation>
    </message>
</context>
<context>
    <name>vadero::LoopCheckDialog</name>
    <message>
        <source>Démarrer</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Arrêter</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Enregistrer le rapport</source>
        <translation>Save the record</translation>
    </message>
    <message>
        <source>Vérification de boucle</source>
        <translation>Loop check</translation>
    </message>
    <message>
        <source>Aucun calibrateur lu : le connecter et attendre la fin de la lecture complète. Rien n&apos;est envoyé.</source>
        <translation>No calibrator read: connect it and wait for the complete read to end. Nothing is sent.</translation>
    </message>
    <message>
        <source>Le rapport de la vérification précédente n&apos;a pas été enregistré.</source>
        <translation>The record of the previous check was not saved.</translation>
    </message>
    <message>
        <source>Rien n&apos;est envoyé.</source>
        <translation>Nothing is sent.</translation>
    </message>
    <message>
        <source>la lecture du point %1</source>
        <translation>the reading of point %1</translation>
    </message>
    <message>
        <source>l&apos;entrée du point %1</source>
        <translation>the input of point %1</translation>
    </message>
    <message>
        <source>Enregistrer le rapport dans le dossier</source>
        <translation>Save the record in the folder</translation>
    </message>
    <message>
        <source>Le rapport n&apos;a pas été enregistré dans %1 :
%2</source>
        <translation>The record was not saved in %1:
%2</translation>
    </message>
    <message>
        <source>Rapport enregistré dans %1 : %2 (JSON, CSV et PDF)</source>
        <translation>Record saved in %1: %2 (JSON, CSV and PDF)</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Abandonner</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Une vérification de boucle est en cours : l&apos;arrêter d&apos;abord.</source>
        <translation>A loop check is running: stop it first.</translation>
    </message>
    <message>
        <source>Le rapport de la vérification de boucle n&apos;a pas été enregistré.</source>
        <translation>The record of the loop check was not saved.</translation>
    </message>
</context>
<context>
    <name>vadero::MainPage</name>
    <message>
        <source>Gamme</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Alimentation de boucle</source>
        <translation>Loop Power</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Génére</source>
        <translation>output</translation>
    </message>
    <message>
        <source>Unité utiliateur</source>
        <translation>User unit</translation>
    </message>
    <message>
        <source>Ecriture</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Mesure</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Lecture</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>la valeur à générer</source>
        <translation>the output value</translation>
    </message>
    <message>
        <source> ; rien n&apos;est envoyé</source>
        <translation>; nothing is sent</translation>
    </message>
    <message>
        <source>Aucune valeur à générer : entrer la valeur d&apos;abord</source>
        <translation>No output value: enter the value first</translation>
    </message>
    <message>
        <source>Génération de la valeur</source>
        <translation>Generating the value</translation>
    </message>
    <message>
        <source>Lecture de la mesure en cours</source>
        <translation>Reading the measurement</translation>
    </message>
    <message>
        <source>Lecture de la mesure terminée</source>
        <translation>Measurement read</translation>
    </message>
</context>
<context>
    <name>vadero::MemoriesPage</name>
    <message>
        <source>0 - 20mA</source>
        <translation>0 - 20mA</translation>
    </message>
    <message>
        <source>4 - 20mA</source>
        <translation>4 - 20mA</translation>
    </message>
    <message>
        <source>0 - 10V</source>
        <translation>0 - 10V</translation>
    </message>
    <message>
        <source>la mémoire %1</source>
        <translation>memory %1</translation>
    </message>
</context>
<context>
    <name>vadero::NumberField</name>
    <message>
        <source>%1 reste vide</source>
        <translation>%1 stays empty</translation>
    </message>
    <message>
        <source>%1 garde %2</source>
        <translation>%1 keeps %2</translation>
    </message>
    <message>
        <source>Aucune valeur : %1</source>
        <translation>No value: %1</translation>
    </message>
    <message>
        <source>Valeur non numérique : « %1 », %2</source>
        <translation>Not a number: &quot;%1&quot;, %2</translation>
    </message>
    <message>
        <source>%1 limité à %2</source>
        <translation>%1 limited to %2</translation>
    </message>
    <message>
        <source>%1 arrondi à %2</source>
        <translation>%1 rounded to %2</translation>
    </message>
</context>
<context>
    <name>vadero::OthersPage</name>
    <message>
        <source>Langue</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Français</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Anglais</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Filtre</source>
        <translation>Filter</translation>
    </message>
</context>
<context>
    <name>vadero::PointTable</name>
    <message>
        <source>N°</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Sens</source>
        <translation>Dir.</translation>
    </message>
    <message>
        <source>Nominal (%)</source>
        <translation>Nominal (%)</translation>
    </message>
    <message>
        <source>Calibrateur (%1)</source>
        <translation>Calibrator (%1)</translation>
    </message>
    <message>
        <source>Lecture (%1)</source>
        <translation>Reading (%1)</translation>
    </message>
    <message>
        <source>Entrée (%1)</source>
        <translation>Input (%1)</translation>
    </message>
    <message>
        <source>Idéal (%1)</source>
        <translation>Ideal (%1)</translation>
    </message>
    <message>
        <source>Écart (%)</source>
        <translation>Error (%)</translation>
    </message>
    <message>
        <source>Résultat</source>
        <translation>Result</translation>
    </message>
</context>
<context>
    <name>vadero::RampPage</name>
    <message>
        <source>Première rampe</source>
        <translation>First ramp</translation>
    </message>
    <message>
        <source>Grille</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Rafraichir</source>
        <translation>Refresh</translation>
    </message>
</context>
<context>
    <name>vadero::RangeCaptions</name>
    <message>
        <source>Génére 0-20mA</source>
        <translation>Output 0-20mA</translation>
    </message>
    <message>
        <source>Génére 4-20mA</source>
        <translation>Output 4-20mA</translation>
    </message>
    <message>
        <source>Génére 0-10V</source>
        <translation>Output 0-10V</translation>
    </message>
    <message>
        <source>Mesure courant</source>
        <translation>Current measure</translation>
    </message>
    <message>
        <source>Mesure tension</source>
        <translation>Voltage measure</translation>
    </message>
    <message>
        <source>Mesure résistance</source>
        <translation>Resistor measure</translation>
    </message>
</context>
<context>
    <name>vadero::RegisterTable</name>
    <message>
        <source>(suite du registre %1)</source>
        <translation>(rest of register %1)</translation>
    </message>
    <message>
        <source>Registre %1 : %2 (0x%3), écrit %4 fois
%5</source>
        <translation>Register %1: %2 (0x%3), written %4 times
%5</translation>
    </message>
    <message>
        <source>N°</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Écrit</source>
        <translation>Written</translation>
    </message>
    <message>
        <source>Signification</source>
        <translation>Meaning</translation>
    </message>
</context>
<context>
    <name>vadero::TAboutBox</name>
    <message>
        <source>A propos de ...</source>
        <translation>About ...</translation>
    </message>
    <message>
        <source>VADERO - Français</source>
        <translation>VADERO - English</translation>
    </message>
    <message>
        <source>Version : 1.00</source>
        <translation>Version: 1.00</translation>
    </message>
    <message>
        <source>Programmeur : l&apos;équipe VADERO</source>
        <translation>Programmer: the VADERO team</translation>
    </message>
    <message>
        <source>Système : %1</source>
        <translation>System: %1</translation>
    </message>
    <message>
        <source>Version n° : %1</source>
        <translation>Version no.: %1</translation>
    </message>
</context>
<context>
    <name>vadero::TForm1</name>
    <message>
        <source>Configurateur du calibrateur LCX3</source>
        <translation>LCX3 calibrator configurator</translation>
    </message>
    <message>
        <source>Connexion</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Principal</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>Echelle utilisateur</source>
        <translation>User scale</translation>
    </message>
    <message>
        <source>Mémoires</source>
        <translation>Memories</translation>
    </message>
    <message>
        <source>Rampe</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>Divers</source>
        <translation>Miscellaneous</translation>
    </message>
    <message>
        <source>Présence de l&apos;appareil USB</source>
        <translation>USB Device connected</translation>
    </message>
    <message>
        <source>Changement</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>Connecter la prise USB à l&apos;arrière de l&apos;appareil</source>
        <translation>Connect the USB plug at the back of the calibrator</translation>
    </message>
    <message>
        <source>Recheche du materiel USB</source>
        <translation>Scan USB Device</translation>
    </message>
    <message>
        <source>Lecture complète du calibrateur</source>
        <translation>Read the whole calibrator</translation>
    </message>
    <message>
        <source>Ecriture complète du calibrateur</source>
        <translation>Write the whole calibrator</translation>
    </message>
    <message>
        <source>Quitter le programme</source>
        <translation>Quit the program</translation>
    </message>
    <message>
        <source>Transfert des paramères</source>
        <translation>Update parmeters</translation>
    </message>
    <message>
        <source>Attention</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Vous devez d&apos;abord transférer les nouveaux paramètres ?</source>
        <translation>You must first transfer the new parameters?</translation>
    </message>
    <message>
        <source>USB N°%1</source>
        <translation>USB No. %1</translation>
    </message>
    <message>
        <source>Les modifications n&apos;ont pas été écrites dans le calibrateur.</source>
        <translation>The changes have not been written to the calibrator.</translation>
    </message>
    <message>
        <source>Ecrire</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Abandonner</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Déconnexion</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Lecture des paramètres en cours</source>
        <translation>Reading the parameters</translation>
    </message>
    <message>
        <source>Ecriture des paramètres en cours</source>
        <translation>Writing the parameters</translation>
    </message>
    <message>
        <source>Lecture des paramètres termiée</source>
        <translation>Parameters read</translation>
    </message>
    <message>
        <source>Ecriture des paramètres terminée</source>
        <translation>Parameters written</translation>
    </message>
    <message>
        <source>Allumer le calibrateur</source>
        <translation>Switch the calibrator on</translation>
    </message>
    <message>
        <source>Paramètres (*.json);;Tous les fichiers (*)</source>
        <translation>Parameters (*.json);;All files (*)</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Ouvrir des paramètres…</source>
        <translation>Open parameters…</translation>
    </message>
    <message>
        <source>Enregistrer les paramètres…</source>
        <translation>Save the parameters…</translation>
    </message>
    <message>
        <source>Comparer avec un fichier…</source>
        <translation>Compare with a file…</translation>
    </message>
    <message>
        <source>&amp;Outils</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Trafic Modbus</source>
        <translation>Modbus traffic</translation>
    </message>
    <message>
        <source>Tendance de la mesure</source>
        <translation>Measurement trend</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>A propos…</source>
        <translation>About…</translation>
    </message>
    <message>
        <source>Ouvrir des paramètres</source>
        <translation>Open parameters</translation>
    </message>
    <message>
        <source>Le fichier est refusé, rien n&apos;a changé :
%1</source>
        <translation>The file is refused, nothing changed:
%1</translation>
    </message>
    <message>
        <source>Paramètres ouverts : %1</source>
        <translation>Parameters opened: %1</translation>
    </message>
    <message>
        <source>Paramètres ouverts ; ces valeurs sont inhabituelles :</source>
        <translation>Parameters opened; these values are unusual:</translation>
    </message>
    <message>
        <source>Enregistrer les paramètres</source>
        <translation>Save the parameters</translation>
    </message>
    <message>
        <source>Les paramètres n&apos;ont pas été enregistrés dans %1 :
%2</source>
        <translation>The parameters were not saved to %1:
%2</translation>
    </message>
    <message>
        <source>Paramètres enregistrés : %1</source>
        <translation>Parameters saved: %1</translation>
    </message>
    <message>
        <source>Comparer avec un fichier</source>
        <translation>Compare with a file</translation>
    </message>
    <message>
        <source>Le fichier est refusé :
%1</source>
        <translation>The file is refused:
%1</translation>
    </message>
    <message>
        <source>Vérification de boucle</source>
        <translation>Loop check</translation>
    </message>
</context>
<context>
    <name>vadero::TSelectForm</name>
    <message>
        <source>Selection</source>
        <translation>Selection</translation>
    </message>
</context>
<context>
    <name>vadero::TrafficLog</name>
    <message>
        <source>émis</source>
        <translation>sent</translation>
    </message>
    <message>
        <source>reçu</source>
        <translation>received</translation>
    </message>
    <message>
        <source>Temps (ms)</source>
        <translation>Time (ms)</translation>
    </message>
    <message>
        <source>Sens</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Octets</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>Signification</source>
        <translation>Meaning</translation>
    </message>
</context>
<context>
    <name>vadero::TrafficWindow</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Enregistrer…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Trafic Modbus</source>
        <translation>Modbus traffic</translation>
    </message>
    <message>
        <source>%1 trame</source>
        <translation>%1 frame</translation>
    </message>
    <message>
        <source>%1 trames</source>
        <translation>%1 frames</translation>
    </message>
    <message>
        <source>%1, %2 en attente</source>
        <translation>%1, %2 held</translation>
    </message>
    <message>
        <source>Enregistrer le trafic</source>
        <translation>Save the traffic</translation>
    </message>
    <message>
        <source>Texte (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>Le trafic n&apos;a pas été enregistré :
%1</source>
        <translation>The traffic was not saved:
%1</translation>
    </message>
</context>
<context>
    <name>vadero::TrendPlot</name>
    <message>
        <source>Mesure (%1)</source>
        <translation>Measurement (%1)</translation>
    </message>
    <message>
        <source>Heure</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>En attente des mesures</source>
        <translation>Waiting for measurements</translation>
    </message>
</context>
<context>
    <name>vadero::TrendWindow</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Enregistrer en CSV…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>Tendance de la mesure</source>
        <translation>Measurement trend</translation>
    </message>
    <message>
        <source>En pause</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Pas de réponse du calibrateur</source>
        <translation>No answer from the calibrator</translation>
    </message>
    <message>
        <source>Aucune mesure dans la gamme</source>
        <translation>No measurement within the range</translation>
    </message>
    <message>
        <source>Minimum %1   Maximum %2   Moyenne %3   (%4 mesures)</source>
        <translation>Minimum %1   Maximum %2   Mean %3   (%4 measurements)</translation>
    </message>
    <message>
        <source>, %1 dépassements laissés de côté</source>
        <translation>, %1 overruns left out</translation>
    </message>
    <message>
        <source>Enregistrer la tendance</source>
        <translation>Save the trend</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>La tendance n&apos;a pas été enregistrée :
%1</source>
        <translation>The trend was not saved:
%1</translation>
    </message>
</context>
<context>
    <name>vadero::UserScalePage</name>
    <message>
        <source>la pleine échelle</source>
        <translation>the full scale</translation>
    </message>
    <message>
        <source>le zéro</source>
        <translation>the zero</translation>
    </message>
</context>
<context>
    <name>vadero::WindowParameters</name>
    <message>
        <source>code %1 (inconnu)</source>
        <translation>code %1 (unknown)</translation>
    </message>
    <message>
        <source>Principal</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>Gamme</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Alimentation de boucle</source>
        <translation>Loop Power</translation>
    </message>
    <message>
        <source>active</source>
        <translation>on</translation>
    </message>
    <message>
        <source>inactive</source>
        <translation>off</translation>
    </message>
    <message>
        <source>Décimales des valeurs en mA et V</source>
        <translation>Decimals of mA and V values</translation>
    </message>
    <message>
        <source>Echelle utilisateur</source>
        <translation>User scale</translation>
    </message>
    <message>
        <source>Pleine échelle</source>
        <translation>Full scale</translation>
    </message>
    <message>
        <source>Zéro</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>Format d&apos;affichage</source>
        <translation>Display format</translation>
    </message>
    <message>
        <source>Mémoires</source>
        <translation>Memories</translation>
    </message>
    <message>
        <source>Mémoire %1 (%2)</source>
        <translation>Memory %1 (%2)</translation>
    </message>
    <message>
        <source>Rampe</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>Divers</source>
        <translation>Miscellaneous</translation>
    </message>
    <message>
        <source>Langue du calibrateur</source>
        <translation>Calibrator&apos;s language</translation>
    </message>
    <message>
        <source>Français</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Anglais</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Filtre de mesure</source>
        <translation>Measurement filter</translation>
    </message>
    <message>
        <source>Registre %1 (non interprété)</source>
        <translation>Register %1 (not interpreted)</translation>
    </message>
</context>
</TS>
