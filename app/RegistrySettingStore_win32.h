// The per-user settings store: HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ per key.
#pragma once

#include <windows.h>

#include "base/Settings.h"

class RegistrySettingStore : public SettingStore {
  public:
    explicit RegistrySettingStore(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
    std::string ReadSetting(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view defaultText) override;
    void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view text) override;

  private:
    HKEY root_;
};
