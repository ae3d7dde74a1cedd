@echo off
msbuild ..\Prj\App.vcxproj
