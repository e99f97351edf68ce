#include "app/info/HelpMenu.h"

#include "app/info/OpenURL.h"
#include "app/info/frmAbout.h"
#include "app/info/frmHelp.h"
#include "platform/ui/Prompter.h"

#include <string>

void HelpMenu::ShowInfo(QWidget* parent) {
    frmAbout about(parent);
    about.exec();
}

void HelpMenu::ShowHelp(const QWidget* window) {
    frmHelp& help = frmHelp::Shared();
    if (window != nullptr && !help.isVisible()) {
        help.PlaceBeside(*window);
    }
    help.show();
    help.raise();
    help.activateWindow();
    help.Constructor("NL");
}

bool HelpMenu::ShowWebsite() {
    const std::string address = WebsiteAddress;
    Prompter::Current().Message("Op internet staat hulp en meer informatie.\r\n"
                                "De computer probeert naar de volgende website gaan:\r\n" +
                                    address + "\r\n",
                                "Tavelon Simulator", Prompter::Buttons::Ok,
                                Prompter::Icon::Information);
    return OpenURL(address);
}
