#pragma once
// Small class operations of the shell.

class HelperFunction {
public:
    HelperFunction() = delete;

    // Whether the process runs in a sandbox container (its environment holds
    // APP_SANDBOX_CONTAINER_ID).
    static bool isSandboxed();
    // Writes the user settings, as at quit. Answers whether they were written.
    static bool saveUserConfig();
};
