#include "ui/toolbar_texts.h"

#include <array>
#include <map>

namespace {

using Texts = std::array<const char*, 5>;

const std::map<QString, Texts>& tooltips() {
    static const std::map<QString, Texts> table = {
        {"download",
         {"Read all parameters from the unit", "Alle Parameter vom Gerät lesen",
          "Lire tous les paramètres de l'appareil", "Leggi tutti i parametri dall'unità",
          "Leer todos los parámetros de la unidad"}},
        {"upload",
         {"Send the changed parameters to the unit", "Geänderte Parameter an das Gerät senden",
          "Envoyer les paramètres modifiés à l'appareil", "Invia i parametri modificati all'unità",
          "Enviar los parámetros modificados a la unidad"}},
        {"singledownload",
         {"Read or write one parameter", "Einen Parameter lesen oder schreiben",
          "Lire ou écrire un paramètre", "Leggi o scrivi un parametro",
          "Leer o escribir un parámetro"}},
        {"file",
         {"Open a parameter file", "Parameterdatei öffnen", "Ouvrir un fichier de paramètres",
          "Apri un file di parametri", "Abrir un archivo de parámetros"}},
        {"refresh",
         {"Show the changed or all parameters", "Geänderte oder alle Parameter anzeigen",
          "Afficher les paramètres modifiés ou tous", "Mostra i parametri modificati o tutti",
          "Mostrar los parámetros modificados o todos"}},
        {"record",
         {"Record or play back echo traces", "Echokurven aufzeichnen oder abspielen",
          "Enregistrer ou relire les courbes d'écho", "Registra o riproduci le tracce eco",
          "Grabar o reproducir trazas de eco"}},
        {"clipboard",
         {"Copy the echo chart to the clipboard", "Echodiagramm in die Zwischenablage kopieren",
          "Copier le graphique d'écho dans le presse-papiers", "Copia il grafico eco negli appunti",
          "Copiar el gráfico de eco al portapapeles"}},
        {"temperature_display",
         {"Show the temperature", "Temperatur anzeigen", "Afficher la température",
          "Mostra la temperatura", "Mostrar la temperatura"}},
        {"level_display",
         {"Show the level", "Füllstand anzeigen", "Afficher le niveau", "Mostra il livello",
          "Mostrar el nivel"}},
        {"status_display",
         {"Show the unit status", "Gerätestatus anzeigen", "Afficher l'état de l'appareil",
          "Mostra lo stato dell'unità", "Mostrar el estado de la unidad"}},
        {"modem",
         {"Modem dial-up", "Modem-Einwahl", "Connexion par modem", "Connessione via modem",
          "Conexión por módem"}},
        {"minimized",
         {"Minimise the window", "Fenster minimieren", "Réduire la fenêtre",
          "Riduci a icona la finestra", "Minimizar la ventana"}},
        {"exit",
         {"Exit the program", "Programm beenden", "Quitter le programme", "Esci dal programma",
          "Salir del programa"}},
    };
    return table;
}

} // namespace

QString toolbar_tooltip(const QString& key, int language_index) {
    const auto it = tooltips().find(key);
    if (it == tooltips().end())
        return {};
    const int column = language_index >= 0 && language_index < 5 ? language_index : 0;
    return QString::fromUtf8(it->second[static_cast<size_t>(column)]);
}
