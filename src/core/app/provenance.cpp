#include "core/app/provenance.h"

#include "core/app/data_folder.h"
#include "core/app/session_replay.h"
#include "core/common/sha256.h"

namespace talvex {

Provenance TakeProvenance(const Session& session, std::int64_t calculatedAt) {
    Provenance p;
    p.programVersion = ProgramVersion();
    p.calculatedAt = calculatedAt;
    for (const COpenedChmFile& entry : session.Chromatograms())
        p.chromatograms.push_back(
            {entry.passport.path, Sha256OfFile(entry.passport.path).value_or(std::string())});
    for (const SessionDataFile& file : DigestDataFiles(session.DataFolder()))
        p.dataFiles.push_back({file.name, file.sha256});
    return p;
}

} // namespace talvex
