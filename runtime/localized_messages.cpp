#include "runtime/localized_messages.h"

#include "platform/errors.h"

namespace vantrel {

const TMessageTable DefaultMessages = {
    u"en",
    u"Error",
    u"Confirm",
    u"Accept",
    u"Cancel",
    u"This is not a valid Windows application.",
    u"The Microsoft WebView2 runtime is required to run this application. This application cannot continue and will be closed now.",
    u"The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?",
    u"This application cannot continue and will be closed now.",
    u"You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will be closed now.",
};

const std::array<TMessageTable, 5> LanguageMessages = {{
    {
        u"es",
        u"Error",
        u"Confirmar",
        u"Aceptar",
        u"Cancelar",
        u"Esta no es una aplicación de Windows válida.",
        u"El Microsoft WebView2 runtime es necesario para esta aplicación. Esta aplicación no puede continuar y se cerrará ahora.",
        u"El Microsoft WebView2 runtime es necesario para esta aplicación. ¿Quiere instalarlo ahora?",
        u"Esta aplicación no puede continuar y se cerrará ahora.",
        u"Ha cancelado la instalación de Microsoft WebView2 runtime. Esta aplicación no puede continuar y se cerrará ahora.",
    },
    {
        u"it",
        u"Errore",
        u"Confermare",
        u"Accettare",
        u"Annulla",
        u"Questa non è un'applicazione Windows valida.",
        u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Questa applicazione non può continuare e verrà chiusa ora.",
        u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Vuoi installarlo ora?",
        u"Questa applicazione non può continuare e verrà chiusa ora.",
        u"Annulla l'installazione del runtime di Microsoft WebView2, questa applicazione non può continuare e verrà chiusa ora.",
    },
    {
        u"de",
        u"Error",
        u"Bestätigen",
        u"Akzeptieren",
        u"Stornieren",
        u"Dies ist keine gültige Windows-Anwendung.",
        u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
        u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Möchten Sie es jetzt installieren?",
        u"Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
        u"Sie brechen die Installation der Microsoft WebView2-Laufzeit ab. Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
    },
    {
        u"fr",
        u"Erreur",
        u"Confirmer",
        u"J'accepte",
        u"Annuler",
        u"Ce n'est pas une application Windows valide.",
        u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Cette application ne peut pas continuer et sera fermée maintenant.",
        u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Voulez-vous l'installer maintenant?",
        u"Cette application ne peut pas continuer et sera fermée maintenant.",
        u"Vous annulez l'installation du runtime Microsoft WebView2. Cette application ne peut pas continuer et sera fermée maintenant.",
    },
    {
        u"zh",
        u"错误",
        u"确认",
        u"接受",
        u"取消",
        u"这不是有效的Windows应用程序。",
        u"运行此应用程序需要Microsoft WebView2运行时。 该应用程序无法继续，将立即关闭。",
        u"运行此应用程序需要Microsoft WebView2运行时。 您要立即安装吗？",
        u"此应用程序无法继续，将立即关闭。",
        u"您取消了Microsoft WebView2运行时的安装，此应用程序无法继续，将立即关闭。",
    },
}};

ustring GetLocalizedMessageFor(int32_t Index, ustring_view languageCode) {
  if (Index < 0 || Index >= kMessageCount) throw EVantrelError("MessageIndex is out of range!");
  ustring result = DefaultMessages[static_cast<size_t>(Index)];
  for (const TMessageTable& table : LanguageMessages) {
    if (languageCode == table[0]) {
      result = table[static_cast<size_t>(Index)];
      break;
    }
  }
  return result;
}

}  // namespace vantrel
