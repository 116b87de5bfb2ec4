#include "ReplaceAlertTexts.h"

#include <cstring>

// The texts stand as the dialog has always shown them, word for word.
const ReplaceAlertTexts kReplaceAlertTexts[kReplaceAlertLanguageCount] = {
    {"en", "Replace", "Don't Replace", "file", "folder", "symbolic link",
        "The %s '%s' already exists. Do you wish to replace existing",
        {"Created :", "Modified :", "Size :", "Kind :", "Path :", "Version :"}, "With",
        "Apply to all future collisions"},
    {"fr", "Replacer", "Font pas Replacer", "fichier", "chemise", "lien symbolique",
        "Le %s de '%s' existe déjà Vous souhaitez substituer exister.",
        {"Créions :", "Modifié :", "Taille :", "Aimable :", "Voie d'accès :", "Version :"}, "Avec",
        "Appliquez-vous à toutes les futures collisions"},
    {"es", "Sustituir", "Hacer no Sustituir", "fichero", "carpeta", "conexión simbólica",
        "El %s del '%s' existe ya  Usted desea substituir existir.",
        {"Crear :", "Modificado :", "Talla :", "Bueno :", "Camino :", "Versión :"}, "Con",
        "Apliqúese a todas las colisiones futuras"},
    {"de", "Ersetzen", "Ausführen nicht Ersetzen", "datei", "heft", "symbolisches link",
        "Das %s '%s' existiert bereits  Möchten Sie das Existieren ersetzen.",
        {"Erzeugen :", "Geändert :", "Größe :", "Freundlich :", "Pfad :", "Version :"}, "Mit",
        "Treffen Sie auf alle zukünftigen Zusammenstöße zu"},
    {"it", "Sostituire", "Fare non Sostituire", "archivio", "dispositivo di piegatura",
        "collegamento simbolico", "Il %s di '%s' già esiste  Desiderate sostituire esistere.",
        {"Creato :", "Modificato :", "Formato :", "Gentile :", "Percorso :", "Versione :"}, "Con",
        "Applichisi a tutti gli scontri futuri"},
    {"no", "Ombytte", "Ikke gjør det Ombytte", "arkiv", "brosjyre", "symbolsk koble sammen",
        "Det %s '%s' allerede eksisterer. Vil du ønske som erstatning for eksisterende",
        {"Skapt :", "Modifisert :", "Størrelse :", "Slag :", "Sti :", "Versjon :"}, "Med",
        "Henvende seg til alle fremtid sammenstøtet"},
    {"sv", "Ombytta", "Icke gör det Ombytta", "arkivet", "broschyren", "symbolisk länken",
        "%s '%s' redan existerar. Vill du önska till ombytta existerande",
        {"Skapade :", "Modifierat :", "Storleken :", "Slagen :", "Stian :", "Versionen :"}, "Med",
        "Hänvände sig till alla framtida sammanstöt"},
    {"da", "Skifte ud", "Lad være Skifte ud", "fil", "omslag", "symbolsk samkøre",
        "Den %s '%s' allerede eksisterer. Lave jer ønske som erstatning for nærværende",
        {"Skabt :", "Forandret :", "Nummer :", "Sort :", "Bane :", "Gengivelse :"}, "Hos",
        "Henvende sig til al senere sammenstød"},
    {"nl", "Vervangen", "Verrichten niet Vervangen", "vijl", "vouwblad", "zinnebeeldig verbinding",
        "Naar de %s '%s' reeds bestaan. Verrichten u wil voor vervangen voorhanden",
        {"Wekken :", "Gewijzigde :", "Spanwijdte :", "Welwillend :", "Pad :", "Voorstelling :"},
        "Van", "Toepassen voor helemaal toekomstig botsing"},
    {"pt", "Substitua", "Não substitua", "arquivo", "dobrador", "ligação simbólica",
        "O %s '%s' existe já  Você deseja substituir existir.",
        {"Criado :", "Modificado :", "Tamanho :", "Amável :", "Trajeto :", "Versão :"}, "Com",
        "Aplique a todas as colisões futuras"},
};

const ReplaceAlertTexts& replace_alert_texts(const char* language)
{
    if (language != nullptr) {
        for (const ReplaceAlertTexts& texts : kReplaceAlertTexts) {
            if (strcmp(texts.code, language) == 0)
                return texts;
        }
    }
    return kReplaceAlertTexts[0];
}
