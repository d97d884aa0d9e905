#include "support/win32/visual_styles_context.h"

#include <string>

#include "res/manifest_ids.h"
#include "support/win32/program_path.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

ActiveContext::ActiveContext(const ACTCTXA& request) {
    context_ = CreateActCtxA(&request);
    if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
        ReleaseActCtx(context_);
        context_ = INVALID_HANDLE_VALUE;
    }
}

ActiveContext::~ActiveContext() {
    if (context_ == INVALID_HANDLE_VALUE)
        return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
}

namespace {

// From the program's manifest resource for visual styles.
ACTCTXA VisualStylesRequest(const std::string& program) {
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(VELBROOK_VISUAL_STYLES_MANIFEST_ID);
    request.hModule = GetModuleHandleA(nullptr);
    return request;
}

} // namespace

void UseVisualStyles() {
    // The path lives until the context is made, all that needs it.
    static const ActiveContext context(VisualStylesRequest(ProgramFilePath()));
}

} // namespace velbrook::win32
