#include "platform/errors/SystemError.h"

#include <cerrno>

std::string SystemError::Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "geen toestemming";
    case ENOENT:
        return "niet gevonden";
    case ENOTDIR:
        return "een deel van het pad is geen map";
    case EISDIR:
        return "het is een map";
    case ENOSPC:
    case EDQUOT:
        return "de schijf is vol";
    case EROFS:
        return "de schijf is alleen-lezen";
    case EEXIST:
        return "bestaat al";
    case ENAMETOOLONG:
        return "de naam is te lang";
    case ELOOP:
        return "te veel symbolische koppelingen";
    case EMFILE:
    case ENFILE:
        return "te veel open bestanden";
    case ENOMEM:
        return "onvoldoende geheugen";
    case EIO:
        return "fout bij lezen of schrijven van de schijf";
    case EBUSY:
    case ETXTBSY:
        return "het bestand is in gebruik";
    case EXDEV:
        return "het bestand ligt op een andere schijf";
    case EFBIG:
        return "het bestand wordt te groot";
    case EINVAL:
        return "ongeldige aanvraag";
    case 0:
        return "onbekende fout";
    default:
        return "systeemfout " + std::to_string(error);
    }
}
