<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr_FR">
<context>
    <name>vadero::Application</name>
    <message>
        <source>Erreur inconnue</source>
        <translation>Unknown error</translation>
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
</context>
<context>
    <name>vadero::TSelectForm</name>
    <message>
        <source>Selection</source>
        <translation>Selection</translation>
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
