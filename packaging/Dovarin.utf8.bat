@REM 寸法追加（引出線付き）Dovarin
@REM #jww
@REM #cd
@REM #zz
@REM #zw
@REM #h0
@REM #1ln 寸法補助線を指示してください
@REM #2 計測点を指示してください
@REM #3 寸法線の位置を指示してください
@REM #4 寸法値の位置を指示してください
@REM #e
@Dovarin.exe
