#include "link/serial_texts.h"

#include "shell/shell_state.h"

#include <QStringList>

namespace {

// German and French repeat the English text except in record 100 and in the records the port
// window shows (4 to 16), which speak every language of the program.
const std::array<const char*, 102> RECORDS = {
    "0,Setup Serial Communications,Setup Serial Communications,Setup Serial "
    "Communications,Impostazione comunicazioni seriali,Configurar comunicaciones serie",
    "1,Handheld Programmer,Handheld Programmer,Handheld Programmer,Programmatore "
    "portatile,Programador portátil",
    "2,Debug Enable,Debug Enable,Debug Enable,Abilita debug,Activar depuración",
    "3,Quit,Quit,Quit,Esci,Salir",
    "4,Operating System,Betriebssystem,Système d'exploitation,Sistema Operativo,Operating System",
    "5,OS Version,BS-Version,Version du système,Versione OS,OS Versión",
    "6,OS Build,BS-Build,Build du système,OS Build,OS Build",
    "7,Selected,Ausgewählt,Sélectionné,Selezionata,Seleccionado",
    "8,Delay,Verzögerung,Délai,Ritardo,Retraso",
    "9,Default,Standard,Par défaut,Predef.,Por defecto",
    "10,Setup,Schnittstelle wählen,Choix du port,Configurazione,Programar",
    "11,Available,Verfügbar,Disponible,Disponibile,Disponible",
    "12,Not Available,Nicht verfügbar,Non disponible,Non Disponibile,No disponible",
    "13,Found new Plug && Play device. Updating ....,Neues Plug && Play-Gerät gefunden. "
    "Aktualisiere ....,Nouveau périphérique Plug && Play trouvé. Mise à jour ....,Trovata nuova "
    "apparecchiatura Plug && Play. "
    "Aggiornamento ....,Nuevo dispositivo 'Plug && Play' encontrado. Actualizando…",
    "14,Plug && Play device is removed. Updating ....,Plug && Play-Gerät entfernt. Aktualisiere "
    "....,Périphérique Plug && Play retiré. Mise à jour ....,Apparecchiatura Plug && Play rimossa. "
    " "
    "Aggiornamento ....,Dispositivo 'Plug && Play' sacado. Actualizando…",
    "15,Searching ....,Suche ....,Recherche ....,Ricerca ....,Buscando…",
    "16,Invalid Port,Ungültige Schnittstelle,Port non valide,Porta non valida,Puerta no válido",
    "17,Firmware Programming Version ,Firmware Programming Version ,Firmware Programming Version "
    ",Versione programmazione firmware ,Versión de programación del firmware ",
    "18,Program,Program,Program,Programma,Programar",
    "19,Normal Mode,Normal Mode,Normal Mode,Modo normale,Modo normal",
    "20,Boot Mode H8/2240,Boot Mode H8/2240,Boot Mode H8/2240,Modo boot H8/2240,Modo de arranque "
    "H8/2240",
    "21,Hardware Version,Hardware Version,Hardware Version,Versione hardware,Versión de hardware",
    "22,Programming Mode,Programming Mode,Programming Mode,Modo programmazione,Modo de "
    "programación",
    "23,File Name,File Name,File Name,Nome file,Nombre de archivo",
    "24,File Size,File Size,File Size,Dimensione file,Tamaño de archivo",
    "25,Estimated Time (min),Estimated Time (min),Estimated Time (min),Tempo stimato (min),Tiempo "
    "estimado (min)",
    "26,Logging on to unit. Please Wait,Logging on to unit. Please Wait,Logging on to unit. Please "
    "Wait,Collegamento all'unità. Attendere,Conectando con la unidad. Espere por favor",
    "27,Press 'Go' to start programming,Press 'Go' to start programming,Press 'Go' to start "
    "programming,Premere 'Go' per avviare la programmazione,Pulse 'Go' para iniciar la "
    "programación",
    "28,Transmit ,Transmit ,Transmit ,Trasmissione ,Transmitir ",
    "29,Programming Complete,Programming Complete,Programming Complete,Programmazione "
    "completata,Programación completada",
    "30,Setup,Setup,Setup,Configurazione,Programar",
    "31,Exit,Exit,Exit,Esci,Salir",
    "32,Operating System,Operating System,Operating System,Sistema Operativo,Operating System",
    "33,OS Version,OS Version,OS Version,Versione OS,OS Versión",
    "34,OS Build,OS Build,OS Build,OS Build,OS Build",
    "35,Available,Available,Available,Disponibile,Disponible",
    "36,Selected,Selected,Selected,Selezionata,Seleccionado",
    "37,Delay,Delay,Delay,Ritardo,Retraso",
    "38,Default,Default,Default,Predef.,Por defecto",
    "39,Invalid Password,Invalid Password,Invalid Password,Password non valida,Contraseña no "
    "válida",
    "40,Invalid Login. Unable to communicate with unit,Invalid Login. Unable to communicate with "
    "unit,Invalid Login. Unable to communicate with unit,Accesso non valido. Impossibile "
    "comunicare con l'unità,Acceso no válido. No se puede comunicar con la unidad",
    "41,OK,OK,OK,OK,OK",
    "42,Programming Error,Programming Error,Programming Error,Errore di programmazione,Error de "
    "programación",
    "43,No response from unit. Communication timed out,No response from unit. Communication timed "
    "out,No response from unit. Communication timed out,Nessuna risposta dall'unità. Tempo "
    "scaduto,Sin respuesta de la unidad. Tiempo de comunicación agotado",
    "44,No response from unit. Check communication,No response from unit. Check communication,No "
    "response from unit. Check communication,Nessuna risposta dall'unità. Controllare la "
    "comunicazione,Sin respuesta de la unidad. Compruebe la comunicación",
    "45,Error Number ,Error Number ,Error Number ,Errore numero ,Error número ",
    "46,Comport setup error,Comport setup error,Comport setup error,Errore di configurazione della "
    "porta,Error de configuración del puerto",
    "47,Make sure unit shows BOOTLOADER then press GO,Make sure unit shows BOOTLOADER then press "
    "GO,Make sure unit shows BOOTLOADER then press GO,Verificare che l'unità mostri BOOTLOADER e "
    "premere GO,Compruebe que la unidad muestra BOOTLOADER y pulse GO",
    "48,Estimated,Estimated,Estimated,Stimato,Estimado",
    "49, out of , out of , out of , di , de ,",
    "50, Bytes, Bytes, Bytes, Byte, Bytes",
    "51,Elapsed,Elapsed,Elapsed,Trascorso,Transcurrido",
    "52,Switching communication baud rate to 19200 baud,Switching communication baud rate to 19200 "
    "baud,Switching communication baud rate to 19200 baud,Cambio della velocità di comunicazione a "
    "19200 baud,Cambiando la velocidad de comunicación a 19200 baudios",
    "53,Failed to set unit to program mode,Failed to set unit to program mode,Failed to set unit "
    "to program mode,Impossibile portare l'unità in modo programmazione,No se pudo poner la unidad "
    "en modo de programación",
    "54,Failed to start user loader program,Failed to start user loader program,Failed to start "
    "user loader program,Impossibile avviare il programma di caricamento,No se pudo iniciar el "
    "programa de carga",
    "55,Check communication,Check communication,Check communication,Controllare la "
    "comunicazione,Compruebe la comunicación",
    "56,Failed to run user loader from RAM,Failed to run user loader from RAM,Failed to run user "
    "loader from RAM,Impossibile eseguire il caricatore dalla RAM,No se pudo ejecutar el cargador "
    "desde la RAM",
    "57,Communication checks OK,Communication checks OK,Communication checks OK,Comunicazione "
    "verificata,Comunicación comprobada",
    "58,Switching communication baud rate to 38400 baud,Switching communication baud rate to 38400 "
    "baud,Switching communication baud rate to 38400 baud,Cambio della velocità di comunicazione a "
    "38400 baud,Cambiando la velocidad de comunicación a 38400 baudios",
    "59,Erasing External Flash Memory,Erasing External Flash Memory,Erasing External Flash "
    "Memory,Cancellazione memoria Flash esterna,Borrando la memoria Flash externa",
    "60,Erasing External Flash Memory,Erasing External Flash Memory,Erasing External Flash "
    "Memory,Cancellazione memoria Flash esterna,Borrando la memoria Flash externa",
    "61,Programming Aborted. Failed to Erase External Flash Memory,Programming Aborted. Failed to "
    "Erase External Flash Memory,Programming Aborted. Failed to Erase External Flash "
    "Memory,Programmazione interrotta. Impossibile cancellare la memoria Flash "
    "esterna,Programación cancelada. No se pudo borrar la memoria Flash externa",
    "62,Programming completed,Programming completed,Programming completed,Programmazione "
    "completata,Programación completada",
    "63,Erasing external Flash Memory,Erasing external Flash Memory,Erasing external Flash "
    "Memory,Cancellazione memoria Flash esterna,Borrando la memoria Flash externa",
    "64,Executing User Loader from RAM,Executing User Loader from RAM,Executing User Loader from "
    "RAM,Esecuzione del caricatore dalla RAM,Ejecutando el cargador desde la RAM",
    "65,Erasing external Flash Memory,Erasing external Flash Memory,Erasing external Flash "
    "Memory,Cancellazione memoria Flash esterna,Borrando la memoria Flash externa",
    "66,External Flash Memory Erased,External Flash Memory Erased,External Flash Memory "
    "Erased,Memoria Flash esterna cancellata,Memoria Flash externa borrada",
    "67,H8/3048F Flash Pre-write complete,H8/3048F Flash Pre-write complete,H8/3048F Flash "
    "Pre-write complete,Prescrittura Flash H8/3048F completata,Preescritura de la Flash H8/3048F "
    "completada",
    "68,Re-booting from address 0x00000000,Re-booting from address 0x00000000,Re-booting from "
    "address 0x00000000,Riavvio dall'indirizzo 0x00000000,Reiniciando desde la dirección "
    "0x00000000",
    "69,Switching +12V to VPP (pin 10) of H8/3048F,Switching +12V to VPP (pin 10) of "
    "H8/3048F,Switching +12V to VPP (pin 10) of H8/3048F,Commutazione di +12V su VPP (pin 10) di "
    "H8/3048F,Conmutando +12V a VPP (pin 10) de H8/3048F",
    "70,+12V detected on VPP (pin 10) of H8/3048F. Starting Pre-write,+12V detected on VPP (pin "
    "10) of H8/3048F. Starting Pre-write,+12V detected on VPP (pin 10) of H8/3048F. Starting "
    "Pre-write,+12V rilevati su VPP (pin 10) di H8/3048F. Avvio prescrittura,+12V detectados en "
    "VPP (pin 10) de H8/3048F. Iniciando preescritura",
    "71,+12V detected on VPP (pin 10) of H8/3048F. Starting multiple block erase,+12V detected on "
    "VPP (pin 10) of H8/3048F. Starting multiple block erase,+12V detected on VPP (pin 10) of "
    "H8/3048F. Starting multiple block erase,+12V rilevati su VPP (pin 10) di H8/3048F. Avvio "
    "cancellazione a blocchi multipli,+12V detectados en VPP (pin 10) de H8/3048F. Iniciando "
    "borrado de varios bloques",
    "72,H8/3048F Flash erasure complete. Ready for S-Records,H8/3048F Flash erasure complete. "
    "Ready for S-Records,H8/3048F Flash erasure complete. Ready for S-Records,Cancellazione Flash "
    "H8/3048F completata. Pronto per gli S-Record,Borrado de la Flash H8/3048F completado. Listo "
    "para los S-Records",
    "73,Pre-writing to H8/3048F Flash memory,Pre-writing to H8/3048F Flash memory,Pre-writing to "
    "H8/3048F Flash memory,Prescrittura della memoria Flash H8/3048F,Preescribiendo la memoria "
    "Flash H8/3048F",
    "74,Executing User Loader from RAM,Executing User Loader from RAM,Executing User Loader from "
    "RAM,Esecuzione del caricatore dalla RAM,Ejecutando el cargador desde la RAM",
    "75,Failed to erase external flash memory,Failed to erase external flash memory,Failed to "
    "erase external flash memory,Impossibile cancellare la memoria Flash esterna,No se pudo borrar "
    "la memoria Flash externa",
    "76,Pre-write to H8/3048F Flash failed,Pre-write to H8/3048F Flash failed,Pre-write to "
    "H8/3048F Flash failed,Prescrittura della Flash H8/3048F non riuscita,Falló la preescritura de "
    "la Flash H8/3048F",
    "77,Failed to program external flash memory,Failed to program external flash memory,Failed to "
    "program external flash memory,Impossibile programmare la memoria Flash esterna,No se pudo "
    "programar la memoria Flash externa",
    "78,Comms receive error,Comms receive error,Comms receive error,Errore di ricezione,Error de "
    "recepción",
    "79,Receive Overrun Error,Receive Overrun Error,Receive Overrun Error,Errore di overrun in "
    "ricezione,Error de desbordamiento en recepción",
    "80,Receive Framing Error,Receive Framing Error,Receive Framing Error,Errore di framing in "
    "ricezione,Error de trama en recepción",
    "81,Invalid character in S-Record,Invalid character in S-Record,Invalid character in "
    "S-Record,Carattere non valido nell'S-Record,Carácter no válido en el S-Record",
    "82,Invalid S-Record type,Invalid S-Record type,Invalid S-Record type,Tipo di S-Record non "
    "valido,Tipo de S-Record no válido",
    "83,S-Record Checksum Error,S-Record Checksum Error,S-Record Checksum Error,Errore di checksum "
    "dell'S-Record,Error de suma de control del S-Record",
    "84,+12V not detected on VPP (pin 10) of H8/3048F: pre-write aborted,+12V not detected on VPP "
    "(pin 10) of H8/3048F: pre-write aborted,+12V not detected on VPP (pin 10) of H8/3048F: "
    "pre-write aborted,+12V non rilevati su VPP (pin 10) di H8/3048F: prescrittura interrotta,+12V "
    "no detectados en VPP (pin 10) de H8/3048F: preescritura cancelada",
    "85,Pre-write aborted. Programming time would exceed 1ms,Pre-write aborted. Programming time "
    "would exceed 1ms,Pre-write aborted. Programming time would exceed 1ms,Prescrittura "
    "interrotta. Il tempo di programmazione supererebbe 1ms,Preescritura cancelada. El tiempo de "
    "programación superaría 1ms",
    "86,Too many characters in S-Record,Too many characters in S-Record,Too many characters in "
    "S-Record,Troppi caratteri nell'S-Record,Demasiados caracteres en el S-Record",
    "87,Too many bytes in combined Address - Data and Checksum fields of S-Record,Too many bytes "
    "in combined Address - Data and Checksum fields of S-Record,Too many bytes in combined Address "
    "- Data and Checksum fields of S-Record,Troppi byte nei campi Indirizzo - Dati e Checksum "
    "dell'S-Record,Demasiados bytes en los campos Dirección - Datos y Suma de control del S-Record",
    "88,+12V not detected on VPP (pin 10) of H8/3048F: multiple block erase aborted,+12V not "
    "detected on VPP (pin 10) of H8/3048F: multiple block erase aborted,+12V not detected on VPP "
    "(pin 10) of H8/3048F: multiple block erase aborted,+12V non rilevati su VPP (pin 10) di "
    "H8/3048F: cancellazione a blocchi multipli interrotta,+12V no detectados en VPP (pin 10) de "
    "H8/3048F: borrado de varios bloques cancelado",
    "89,H8/3048F Flash erasure failed,H8/3048F Flash erasure failed,H8/3048F Flash erasure "
    "failed,Cancellazione Flash H8/3048F non riuscita,Falló el borrado de la Flash H8/3048F",
    "90,+12V not detected on VPP (pin 10) of H8/3048F: programming aborted,+12V not detected on "
    "VPP (pin 10) of H8/3048F: programming aborted,+12V not detected on VPP (pin 10) of H8/3048F: "
    "programming aborted,+12V non rilevati su VPP (pin 10) di H8/3048F: programmazione "
    "interrotta,+12V no detectados en VPP (pin 10) de H8/3048F: programación cancelada",
    "91,Failed to program H8/3038F Flash memory,Failed to program H8/3038F Flash memory,Failed to "
    "program H8/3038F Flash memory,Impossibile programmare la memoria Flash H8/3038F,No se pudo "
    "programar la memoria Flash H8/3038F",
    "92,External Flash already erased,External Flash already erased,External Flash already "
    "erased,Flash esterna già cancellata,Flash externa ya borrada",
    "93,H8/3048F Flash already erased,H8/3048F Flash already erased,H8/3048F Flash already "
    "erased,Flash H8/3048F già cancellata,Flash H8/3048F ya borrada",
    "94,Unrecognised error message,Unrecognised error message,Unrecognised error message,Messaggio "
    "di errore non riconosciuto,Mensaje de error no reconocido",
    "95,Communication Port,Communication Port,Communication Port,Porta di comunicazione,Puerto de "
    "comunicación",
    "96,is not available,is not available,is not available,non è disponibile,no está disponible",
    "97,Send Error,Send Error,Send Error,Errore di invio,Error de envío",
    "98,No Com port detected,No Com port detected,No Com port detected,Nessuna porta COM "
    "rilevata,No se detectó ningún puerto COM",
    "99,Unable to setup port,Unable to setup port,Unable to setup port,Impossibile configurare la "
    "porta,No se puede configurar el puerto",
    "100,Logged on to unit,Mit Geraet verbunden,Connecté à l'unité,Collegato all'unità,Conectado a "
    "la unidad",
    "101,Unit is now in BootLoader mode,Unit is now in BootLoader mode,Unit is now in BootLoader "
    "mode,L'unità è ora in modo BootLoader,La unidad está ahora en modo BootLoader",
};

int language() {
    const int l = shell().language_index;
    return l >= 0 && l <= 4 ? l : 0;
}

} // namespace

const std::array<const char*, 102>& serial_text_records() {
    return RECORDS;
}

SerialTexts& serial_texts() {
    static SerialTexts texts;
    return texts;
}

void read_lang_inc() {
    SerialTexts& texts = serial_texts();
    for (size_t i = 0; i < RECORDS.size(); ++i)
        texts[i] = QString::fromUtf8(RECORDS[i]);
    for (size_t i = 0; i < RECORDS.size(); ++i) {
        const QStringList fields = texts[i].split(QLatin1Char(','));
        const int n = fields.value(0).toInt();
        const int pick = 1 + language();
        if (n >= 0 && n < SERIAL_TEXT_COUNT && pick < fields.size())
            texts[static_cast<size_t>(n)] = fields[pick];
    }
}

QString serial_text(int n) {
    if (n < 0 || n >= static_cast<int>(RECORDS.size()))
        return {};
    const QStringList fields =
        QString::fromUtf8(RECORDS[static_cast<size_t>(n)]).split(QLatin1Char(','));
    return fields.value(1 + language());
}
