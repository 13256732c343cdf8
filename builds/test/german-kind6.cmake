# Test build: the German product (AppId 5) updating Norvak2.exe (file index 27), patch kind 6 (the
# two-language help links), starting in German on a Polish system.
set(APP_ID 5)
set(VERSION 2 5 2)
set(PATCH_KIND 6)
set(ACTIVE_SET 27)
set(CONFIGURED_ENTRY 27)
set(PREFER_PRODUCT_LANGUAGE ON)
set(PAYLOADS_27 resources/payloads/test/PDE252NEA.bin resources/payloads/test/PDE252NEB.bin)
